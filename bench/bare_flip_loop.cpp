// The least a 60 Hz game can do in the game's window: fill it, flip it, sleep to the next
// frame. Its processor use is what the game's own play is compared with.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char* argv[]) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "bare_flip_loop: %s\n", SDL_GetError());
        return 1;
    }
    atexit(SDL_Quit);
    SDL_Surface* screen = SDL_SetVideoMode(1024, 768, 16, SDL_DOUBLEBUF);
    if (screen == nullptr) {
        std::fprintf(stderr, "bare_flip_loop: %s\n", SDL_GetError());
        return 1;
    }
    SDL_WM_SetCaption("bare_flip_loop", "bare_flip_loop");
    // Paced like the game: fixed deadlines from a starting point, sleeping off what is left.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const auto frameLength = std::chrono::duration<double>(1.0 / 60);
    long long frames = 0;
    for (;;) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            if (event.type == SDL_QUIT)
                return 0;
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, Uint8(frames & 0xff)));
        SDL_Flip(screen);
        ++frames;
        Clock::time_point deadline =
            start + std::chrono::duration_cast<Clock::duration>(frames * frameLength);
        if (deadline - start > std::chrono::duration<double>(seconds))
            break;
        std::this_thread::sleep_until(deadline);
    }
    std::printf("%lld frames\n", frames);
    return 0;
}
