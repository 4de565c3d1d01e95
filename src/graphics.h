// The window and the picture registry: every picture is loaded once and drawn from here.
#pragma once

#include <SDL.h>

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

constexpr int SCREEN_WIDTH = 1024;
constexpr int SCREEN_HEIGHT = 768;
constexpr int SCREEN_BPP = 16;

enum ImageId {
    IMG_SPACE,
    IMG_SHIP1,
    IMG_SHIP2,
    IMG_SHIP3,
    IMG_FSHOOTER_N,
    IMG_FSHOOTER_E,
    IMG_FSHOOTER_S,
    IMG_FSHOOTER_W,
    IMG_DSHOOTER_V,
    IMG_DSHOOTER_H,
    IMG_CRATE,
    IMG_LASER_N,
    IMG_LASER_E,
    IMG_LASER_S,
    IMG_LASER_W,
    IMG_ENEMY_LASER_V,
    IMG_ENEMY_LASER_H,
    IMG_WALL2,
    IMG_WALL_H,
    IMG_WALL2_UR,
    IMG_WALL2_UL,
    IMG_WALL_V,
    IMG_EXPLOSION,
    IMG_CREDITS,
    IMG_INSTRUCTIONS,
    IMG_START_MENU,
    IMG_START_MENU_OUTLINE,
    IMG_BOUNDS_V,
    IMG_BOUNDS_H,
    IMG_LEVEL_COMPLETE,
    IMG_LEVEL_LOSE,
    IMG_SHIP_SELECT,
    IMG_SHIP_SELECT_BAR,
    IMG_GAME_OVER,
    IMAGE_COUNT
};

// File of each picture, relative to the working directory, in loading order.
extern const char* const imageFiles[IMAGE_COUNT];

extern SDL_Surface* game_screen;
extern SDL_Surface* images[IMAGE_COUNT];
extern bool loaded;

SDL_Surface* InitVideo(Uint32 flags);

// The window's caption: the game's name, and the level's while one is played.
constexpr const char* GAME_CAPTION = "Skarlume";
void setWindowCaption(const std::string& text);
const std::string& windowCaption();

// Darkens the whole screen, so that text drawn over it stands out (the paused game).
void DimScreen();

// A desktop narrower or lower than the window plus these margins (a window's frame, the panels)
// cannot show the whole window.
constexpr int DESKTOP_MARGIN_X = 64;
constexpr int DESKTOP_MARGIN_Y = 96;
// Whether the game starts fullscreen: as the player chose (the command line, else the settings
// file), and with no choice, when the desktop of that size (0 when unknown) is too small. A
// start made fullscreen for the desktop's sake is said on `notes`, in one line.
bool startsFullscreen(std::optional<bool> chosen, int desktopWidth, int desktopHeight,
                      std::ostream& notes);
// The game's window, opened after reading the desktop's size as startsFullscreen says: SDL's
// video started, the mode set, the caption given. Null, with the reason said, when that fails.
SDL_Surface* openGameWindow(std::optional<bool> chosen, std::ostream& notes);

bool isFullscreen();
// Fullscreen or a window: the same picture, only shown differently. SDL's own toggle where the
// runtime has one, a new mode otherwise; either way the screen counts as lost (see
// screenGeneration). False when the screen stayed as it was.
bool setFullscreen(bool on);

// Counts the times the screen's pixels or what the display shows of them were lost (a new
// mode, an expose): a screen that drew under another count draws and sends its next picture
// whole.
unsigned screenGeneration();
void screenLost();
// Whether the screen still holds the picture last drawn on it, so that a frame may lay anew
// only what changed; a hardware screen may flip between two buffers.
bool screenKeepsItsPicture();
// Sends the screen to the display: only the `changed` places (SDL_UpdateRects), or the whole
// window (SDL_Flip) when `changed` is null, when the screen was lost since the last whole
// send, on a hardware screen, and when the places would cover most of the window.
void presentScreen(const std::vector<SDL_Rect>* changed);
void Slock(SDL_Surface* s);
void Sulock(SDL_Surface* s);
SDL_Surface* LoadImage(const char* file);
bool InitImages();
SDL_Surface* GetImage(int id);
void DrawPartialImage(SDL_Surface* img, int x, int y, int sx, int sy, int w, int h);
void DrawImage(SDL_Surface* img, int x, int y);
void UnloadImages();

// While one lives, every draw goes to `target` instead of the screen: pictures are composed with
// the very drawing code that would otherwise put them on the screen.
class DrawingTarget {
public:
    explicit DrawingTarget(SDL_Surface* target);
    ~DrawingTarget();
    DrawingTarget(const DrawingTarget&) = delete;
    DrawingTarget& operator=(const DrawingTarget&) = delete;

private:
    SDL_Surface* previous;
};

// While one lives, the rectangle that every draw actually covered (after clipping) is added
// to `areas`.
class DrawnAreas {
public:
    explicit DrawnAreas(std::vector<SDL_Rect>& areas);
    ~DrawnAreas();
    DrawnAreas(const DrawnAreas&) = delete;
    DrawnAreas& operator=(const DrawnAreas&) = delete;

private:
    std::vector<SDL_Rect>* previous;
};

// While one lives, `receive` hears of every send to the display, with the places sent: the
// whole window as one rectangle when it went whole.
class PresentWatcher {
public:
    using Receiver = std::function<void(const std::vector<SDL_Rect>& places)>;
    explicit PresentWatcher(Receiver receive);
    ~PresentWatcher();
    PresentWatcher(const PresentWatcher&) = delete;
    PresentWatcher& operator=(const PresentWatcher&) = delete;
    void tell(const std::vector<SDL_Rect>& places) const { receive(places); }

private:
    Receiver receive;
    PresentWatcher* previous;
};
