// The web build's differences from the native game: the browser's SDL 1.2 completed where it
// lacks a call or does nothing, the pacer's turn for the browser, and the page's own level.
#include "webshim.h"

#ifdef __EMSCRIPTEN__

#include <emscripten.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "Level.h"

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

std::string ownLevel;

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
    while (!SDL_PollEvent(event))
        emscripten_sleep(10);
    return 1;
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
