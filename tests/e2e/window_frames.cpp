// Plays a replay in a real X window through the play screen's own input, frame and sending, at
// 60 frames a second, and at several frames reads the window's pixels back from the X server
// and compares them with the plain drawing of the same moment. F11 may be pressed on the way.
// Usage: window_frames REPLAY [--switch-at FRAME]...   (run from the game directory)
// Prints how the level ended and how the frames were sent; exits 1 when a frame differs.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "Level.h"
#include "banner.h"
#include "graphics.h"
#include "headless.h"
#include "input.h"
#include "plaindrawing.h"
#include "replayfile.h"
#include "replayrunner.h"
#include "skarlume.h"

// Xlib's headers come last: they define macros (None, Status) that the game's names would meet.
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

int xErrors = 0;
int countXError(Display*, XErrorEvent*) {
    ++xErrors;
    return 0;
}

Window gameWindow() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) <= 0)
        return 0;
    return info.info.x11.window;
}

// The top bits of one channel of an X pixel, as many as the 16-bit screen keeps.
unsigned channel(unsigned long pixel, unsigned long mask, int keep) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        pixel >>= 1;
        ++shift;
    }
    int bits = 0;
    for (unsigned long m = mask; m & 1; m >>= 1)
        ++bits;
    return unsigned((pixel & mask) >> (bits - keep));
}

// Where the window differs from `expected`, or "" when every pixel agrees.
std::string compareWindow(Display* display, SDL_Surface* expected) {
    // sdl12-compat sends the places at the next look at events, at most 60 times a second.
    for (int i = 0; i < 3; ++i) {
        SDL_PumpEvents();
        SDL_Delay(20);
    }
    XSync(display, False);
    const Window window = gameWindow();
    xErrors = 0;
    XImage* image =
        XGetImage(display, window, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, AllPlanes, ZPixmap);
    XSync(display, False);
    if (image == nullptr || xErrors != 0)
        return "the X server gave no picture of the window";
    std::string difference;
    int differing = 0;
    const SDL_PixelFormat* format = expected->format;
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        const auto* row = reinterpret_cast<const Uint16*>(static_cast<Uint8*>(expected->pixels) +
                                                          y * expected->pitch);
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            const unsigned long shown = XGetPixel(image, x, y);
            const unsigned r = channel(shown, image->red_mask, 8 - format->Rloss);
            const unsigned g = channel(shown, image->green_mask, 8 - format->Gloss);
            const unsigned b = channel(shown, image->blue_mask, 8 - format->Bloss);
            const Uint16 drawn = row[x];
            const unsigned wr = (drawn & format->Rmask) >> format->Rshift;
            const unsigned wg = (drawn & format->Gmask) >> format->Gshift;
            const unsigned wb = (drawn & format->Bmask) >> format->Bshift;
            if (r == wr && g == wg && b == wb)
                continue;
            if (differing++ == 0) {
                char text[128];
                std::snprintf(text, sizeof text,
                              "pixel (%d, %d) shows %02x/%02x/%02x, the rules draw %02x/%02x/%02x",
                              x, y, r, g, b, wr, wg, wb);
                difference = text;
            }
        }
    }
    XDestroyImage(image);
    if (differing > 0)
        difference += " (" + std::to_string(differing) + " pixels differ)";
    return difference;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::cerr << "usage: window_frames REPLAY [--switch-at FRAME]...\n";
        return 2;
    }
    std::set<int> switches;
    for (int i = 2; i + 1 < argc; i += 2)
        if (std::strcmp(argv[i], "--switch-at") == 0)
            switches.insert(std::atoi(argv[i + 1]));
    Replay replay;
    std::string error;
    if (!loadReplay(argv[1], replay, error)) {
        std::cerr << "window_frames: " << error << "\n";
        return 2;
    }
    if (openGameWindow(false, std::cerr) == nullptr || !InitImages()) {
        std::cerr << "window_frames: no window or no pictures\n";
        return 2;
    }
    bg = GetImage(IMG_SPACE);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::cerr << "window_frames: cannot reach the X server\n";
        return 2;
    }
    XSetErrorHandler(countXError);
    SDL_Surface* expected =
        SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_WIDTH, SCREEN_HEIGHT, 16, screen->format->Rmask,
                             screen->format->Gmask, screen->format->Bmask, 0);
    SDL_FillRect(screen, nullptr, 0);
    SDL_FillRect(expected, nullptr, 0);
    PlainDrawing plain(expected, true);

    level = replay.level;
    p = replay.ship;
    changeLevel(level, bg, p);
    Level* current = getCurrentLevel();
    showLevelBanner(*current, bannerText(level, current->getName()));
    Player* player = current->getPlayer();
    long whole = 0, pieces = 0, compared = 0;
    PresentWatcher counting([&whole, &pieces](const std::vector<SDL_Rect>& places) {
        for (const SDL_Rect& place : places)
            ++(place.w == SCREEN_WIDTH && place.h == SCREEN_HEIGHT ? whole : pieces);
    });
    int state = STATE_GAME, frame = 1, failures = 0;
    size_t next = 0;
    Uint32 deadline = SDL_GetTicks();
    for (; frame < 20000; ++frame) {
        for (; next < replay.events.size() && replay.events[next].frame <= frame; ++next) {
            SDL_Event event{};
            event.type = replay.events[next].press ? SDL_KEYDOWN : SDL_KEYUP;
            event.key.keysym.sym = replay.events[next].key;
            SDL_PushEvent(&event);
        }
        if (switches.count(frame) != 0) {
            SDL_Event event{};
            event.type = SDL_KEYDOWN;
            event.key.keysym.sym = SDLK_F11;
            SDL_PushEvent(&event);
        }
        state = takePlayInput(frame, player, nullptr);
        if (state != STATE_GAME)
            break;
        current->step();
        const bool check = frame <= 3 || frame % 40 == 0 || switches.count(frame) != 0 ||
                           switches.count(frame - 1) != 0;
        FrameState moment;
        if (check)
            moment = captureFrame(*current, lives);
        drawPlayScreen(current, player);
        presentPlayScreen();
        if (check) {
            plain.draw(moment);
            const std::string difference = compareWindow(display, expected);
            ++compared;
            if (!difference.empty()) {
                std::cout << "frame " << frame << (isFullscreen() ? " (fullscreen)" : "") << ": "
                          << difference << "\n";
                ++failures;
            }
        }
        if (current->won() || current->lost()) {
            state = current->won() ? STATE_LEVEL_WON : STATE_LEVEL_LOST;
            break;
        }
        deadline += 1000 / 60;
        const Uint32 now = SDL_GetTicks();
        if (now < deadline)
            SDL_Delay(deadline - now);
        else
            deadline = now;
    }
    std::printf("level %d: %s at frame %d\n", replay.level, outcomeName(state), frame);
    std::printf("compared %ld frames with the window, %d differed; sent %ld whole, %ld pieces\n",
                compared, failures, whole, pieces);
    SDL_FreeSurface(expected);
    XCloseDisplay(display);
    UnloadImages();
    return failures == 0 ? 0 : 1;
}
