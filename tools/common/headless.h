// The game without a window, for the tools and benchmarks: the dummy display with the game's
// pictures, and drawing clipped away for programs that play many frames and look at none.
#pragma once

// Opens the dummy display and loads the pictures, for programs without a window.
// False, with SDL's reason on the standard error stream, when that fails.
bool startHeadless();

// While it lives every draw is clipped away by an empty clip rectangle, so the drawing logic
// (lasers growing and shrinking, explosions counting down) runs without its pixels, for
// programs that play many frames and look at none. The screen stays the blits' destination:
// SDL re-encodes a run-length picture whenever its destination changes, which a stand-in
// screen would cause on every switch.
class ClippedDrawing {
public:
    ClippedDrawing();
    ~ClippedDrawing();
    ClippedDrawing(const ClippedDrawing&) = delete;
    ClippedDrawing& operator=(const ClippedDrawing&) = delete;
};
