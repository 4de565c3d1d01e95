// The web build's differences from the native game: the browser's SDL 1.2 completed where it
// lacks a call or does nothing, the pacer's turn for the browser, and the page's own level.
#include "webshim.h"

#ifdef __EMSCRIPTEN__

#include <emscripten.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "Level.h"
#include "input.h"

namespace {

// Makes every pixel of the surface's canvas transparent whose colour is the key's at the native
// screen's 5-6-5 depth, as the native game's keyed blit at 16 bits leaves them. The browser's
// canvas then skips them in every draw, as SDL skips keyed pixels.
EM_JS(void, keyOutColour, (SDL_Surface * surface, int red, int green, int blue), {
    var canvas = SDL.surfaces[surface];
    var image = canvas.ctx.getImageData(0, 0, canvas.width, canvas.height);
    var pixels = image.data;
    for (var i = 0; i < pixels.length; i += 4) {
        if (pixels[i] >> 3 == red >> 3 && pixels[i + 1] >> 2 == green >> 2 &&
            pixels[i + 2] >> 3 == blue >> 3)
            pixels[i + 3] = 0;
    }
    canvas.ctx.putImageData(image, 0, 0);
});

// Writes the surface's canvas as a 24-bit BMP into the file the SDL file handle names.
EM_JS(int, saveCanvasBMP, (SDL_Surface * surface, int handle), {
    var canvas = SDL.surfaces[surface];
    var target = SDL.rwops[handle];
    if (!canvas || !target || !target.filename)
        return -1;
    var w = canvas.width, h = canvas.height;
    var pixels = canvas.ctx.getImageData(0, 0, w, h).data;
    var rowBytes = (w * 3 + 3) & ~3;
    var file = new Uint8Array(54 + rowBytes * h);
    var view = new DataView(file.buffer);
    file[0] = 66;  // "BM"
    file[1] = 77;
    view.setUint32(2, file.length, true);
    view.setUint32(10, 54, true);
    view.setUint32(14, 40, true);
    view.setInt32(18, w, true);
    view.setInt32(22, h, true);  // bottom-up rows
    view.setUint16(26, 1, true);
    view.setUint16(28, 24, true);
    view.setUint32(34, rowBytes * h, true);
    for (var y = 0; y < h; ++y) {
        var row = 54 + (h - 1 - y) * rowBytes;
        for (var x = 0; x < w; ++x) {
            var from = (y * w + x) * 4, to = row + x * 3;
            file[to] = pixels[from + 2];
            file[to + 1] = pixels[from + 1];
            file[to + 2] = pixels[from];
        }
    }
    try {
        FS.writeFile(target.filename, file);
    } catch (e) {
        return -1;
    }
    return 0;
});

// Counts the frames shown, and when the first came, for the page and its tests.
EM_JS(void, noteFlip, (), {
    if (!Module.flips)
        Module.firstFlipAt = performance.now();
    Module.flips = (Module.flips || 0) + 1;
});

// The whole file an SDL file handle names, in memory from malloc; its length, or -1.
EM_JS(int, readHandleFile, (int handle, Uint8** bytes), {
    var source = SDL.rwops[handle];
    try {
        var data = FS.readFile(source.filename);
        var copy = _malloc(Math.max(1, data.length));
        HEAPU8.set(data, copy);
        HEAP32[bytes >> 2] = copy;
        return data.length;
    } catch (e) {
        return -1;
    }
});

// The browser's SDL starts joysticks only for SDL_Init's flags, and SDL_InitSubSystem does
// nothing: without this a gamepad opened on its own is never read.
EM_JS(void, addInitFlags, (Uint32 flags), { SDL.initFlags |= flags; });

// Asks the browser to show the page's canvas fullscreen, or to leave fullscreen. A browser
// that refuses (no player's key or click just before) leaves the page as it was.
EM_JS(int, showBrowserFullscreen, (int on), {
    var canvas = Module['canvas'];
    if (!on) {
        if (document.fullscreenElement)
            document.exitFullscreen().catch(function(){});
        return 1;
    }
    if (!canvas.requestFullscreen)
        return 0;
    canvas.requestFullscreen().catch(function(error) {
        err('The browser keeps the game in its window: ' + error.message);
        _webShowsFullscreen(0);
    });
    return 1;
});

// A browser shows gamepads only from the first press of a button, long after the game has
// looked for one: until one is open, each turn looks again.
void openArrivedGamepad() {
    if (!SDL_JoystickOpened(0) && SDL_NumJoysticks() > 0)
        openGamepad();
}

std::string ownLevel;

uint32_t littleEndian(const Uint8* at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

}  // namespace

extern "C" {

// Pictures already are in the canvas's format; the copy keeps the colour key's mark.
SDL_Surface* SDL_DisplayFormat(SDL_Surface* surface) {
    SDL_Surface* copy = SDL_ConvertSurface(surface, SDL_GetVideoSurface()->format, 0);
    if (copy != nullptr)
        copy->flags |= surface->flags & SDL_SRCCOLORKEY;
    return copy;
}

// Events come only while the browser has its turn.
int SDL_WaitEvent(SDL_Event* event) {
    for (openArrivedGamepad(); !SDL_PollEvent(event); openArrivedGamepad())
        emscripten_sleep(10);
    return 1;
}

int SDL_InitSubSystem(Uint32 flags) {
    addInitFlags(flags);
    return 0;
}

// The browser's C library has no file creation mask: its umask answers garbage, and the
// player's files were written with no permissions at all, unreadable the next time.
mode_t umask(mode_t mask) {
    static mode_t current = 022;
    const mode_t before = current;
    current = mask & 0777;
    return before;
}

// The flag follows what the page shows, which the player may also change (Escape leaves a
// browser's fullscreen, the page's button enters it).
EMSCRIPTEN_KEEPALIVE void webShowsFullscreen(int on) {
    SDL_Surface* screen = SDL_GetVideoSurface();
    if (screen != nullptr)
        screen->flags = on ? screen->flags | SDL_FULLSCREEN : screen->flags & ~SDL_FULLSCREEN;
}

int SDL_WM_ToggleFullScreen(SDL_Surface* surface) {
    if (surface == nullptr || !showBrowserFullscreen(!(surface->flags & SDL_FULLSCREEN)))
        return 0;
    surface->flags ^= SDL_FULLSCREEN;
    return 1;
}

// The browser's SDL has no WAV files: this reads the 16-bit PCM ones the game makes.
SDL_AudioSpec* SDL_LoadWAV_RW(SDL_RWops* source, int freeSource, SDL_AudioSpec* format,
                              Uint8** buffer, Uint32* length) {
    if (webMakeSounds != nullptr) {
        static bool made = false;
        if (!made)
            webMakeSounds();
        made = true;
    }
    Uint8* file = nullptr;
    const int size = readHandleFile(int(reinterpret_cast<intptr_t>(source)), &file);
    if (freeSource)
        SDL_FreeRW(source);
    if (size < 12 || std::memcmp(file, "RIFF", 4) != 0 || std::memcmp(file + 8, "WAVE", 4) != 0) {
        std::free(file);
        return nullptr;
    }
    bool formatRead = false;
    for (int at = 12; at + 8 <= size;) {
        const uint32_t chunk = littleEndian(file + at + 4, 4);
        const Uint8* body = file + at + 8;
        if (chunk > uint32_t(size - at - 8))
            break;
        if (std::memcmp(file + at, "fmt ", 4) == 0 && chunk >= 16) {
            // PCM, 16 bits a sample: what the game's sound tool writes.
            if (littleEndian(body, 2) != 1 || littleEndian(body + 14, 2) != 16)
                break;
            *format = SDL_AudioSpec{};
            format->channels = Uint8(littleEndian(body + 2, 2));
            format->freq = int(littleEndian(body + 4, 4));
            format->format = AUDIO_S16LSB;
            format->samples = 4096;
            formatRead = true;
        } else if (std::memcmp(file + at, "data", 4) == 0 && formatRead) {
            *buffer = static_cast<Uint8*>(std::malloc(std::max<uint32_t>(1, chunk)));
            std::memcpy(*buffer, body, chunk);
            *length = chunk;
            std::free(file);
            return format;
        }
        at += 8 + int(chunk + (chunk & 1));
    }
    std::free(file);
    return nullptr;
}

void SDL_FreeWAV(Uint8* buffer) {
    std::free(buffer);
}

// Only the conversion that changes nothing: the sounds are made in the format they play in.
int SDL_BuildAudioCVT(SDL_AudioCVT* convert, SDL_AudioFormat fromFormat, Uint8 fromChannels,
                      int fromRate, SDL_AudioFormat toFormat, Uint8 toChannels, int toRate) {
    *convert = SDL_AudioCVT{};
    convert->len_mult = 1;
    convert->len_ratio = 1;
    if (fromFormat != toFormat || fromChannels != toChannels || fromRate != toRate)
        return -1;
    return 0;
}

int SDL_ConvertAudio(SDL_AudioCVT* convert) {
    if (convert->needed)
        return -1;
    convert->len_cvt = convert->len;
    return 0;
}

int SDL_SetColorKey(SDL_Surface* surface, int flag, Uint32 key) {
    if (surface == nullptr)
        return -1;
    if (flag & SDL_SRCCOLORKEY) {
        // The browser's SDL packs a colour as red, green, blue and alpha from the low byte up.
        keyOutColour(surface, int(key & 0xff), int((key >> 8) & 0xff), int((key >> 16) & 0xff));
        surface->flags |= SDL_SRCCOLORKEY;
    }
    return 0;
}

int SDL_SaveBMP_RW(SDL_Surface* surface, SDL_RWops* destination, int) {
    return saveCanvasBMP(surface, int(reinterpret_cast<intptr_t>(destination)));
}

// The canvas shows what was drawn as soon as the browser has its turn; nothing to copy.
int SDL_Flip(SDL_Surface*) {
    noteFlip();
    return 0;
}

}  // extern "C"

void webSleepUntil(std::chrono::steady_clock::time_point deadline) {
    openArrivedGamepad();
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    emscripten_sleep(unsigned(std::max<long long>(0, left.count())));
}

void webSetOwnLevel(const char* path) {
    ownLevel = path == nullptr ? "" : path;
}

const char* webOwnLevel() {
    return ownLevel.empty() ? nullptr : ownLevel.c_str();
}

Level* webLoadOwnLevel(SDL_Surface* background, int ship) {
    std::ifstream file(ownLevel, std::ios::binary);
    if (!file) {
        std::cerr << "Cannot open file: " << ownLevel << std::endl;
        return nullptr;
    }
    std::vector<std::string> lines;
    std::string line;
    while (readLevelLine(file, line))
        lines.push_back(line);
    return new Level(lines, ownLevel.c_str(), background, ship);
}

#endif
