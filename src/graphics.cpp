// The window and the picture registry: every picture is loaded once and drawn from here.
#include "graphics.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <ostream>
#include <utility>

const char* const imageFiles[IMAGE_COUNT] = {
    "images/space.bmp",
    "images/Ship.bmp",
    "images/Ship2.bmp",
    "images/Ship3.bmp",
    "images/Forward Shooter-N.bmp",
    "images/Forward Shooter-E.bmp",
    "images/Forward Shooter-S.bmp",
    "images/Forward Shooter-W.bmp",
    "images/Dual Shooter-V.bmp",
    "images/Dual Shooter-H.bmp",
    "images/Crate.bmp",
    "images/Laser-N.bmp",
    "images/Laser-E.bmp",
    "images/Laser-S.bmp",
    "images/Laser-W.bmp",
    "images/EnemyLaser-V.bmp",
    "images/EnemyLaser-H.bmp",
    "images/Wall2.bmp",
    "images/wall-H.bmp",
    "images/wall2-UR.bmp",
    "images/wall2-UL.bmp",
    "images/wall-V.bmp",
    "images/Explosion.bmp",
    "images/Credits.bmp",
    "images/Instructions.bmp",
    "images/StartMenu.bmp",
    "images/StartMenuOutline.bmp",
    "images/bounds-V.bmp",
    "images/bounds-H.bmp",
    "images/LevelComplete.bmp",
    "images/LevelLose.bmp",
    "images/ShipSelect.bmp",
    "images/ShipSelectBar.bmp",
    "images/GameOver.bmp",
};

SDL_Surface* game_screen = nullptr;
SDL_Surface* images[IMAGE_COUNT] = {};
bool loaded = false;

namespace {
// The flags the screen's mode was last set with.
Uint32 videoFlags = 0;
unsigned generation = 0;
PresentWatcher* watcher = nullptr;

bool startVideo() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "Unable to initialize SDL: %s\n", SDL_GetError());
        return false;
    }
    atexit(SDL_Quit);
    return true;
}

// The caption survives a new mode (a fullscreen switch where SDL has no toggle).
std::string caption = GAME_CAPTION;

SDL_Surface* setMode(Uint32 flags) {
    game_screen = SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, flags);
    if (game_screen == nullptr) {
        fprintf(stderr, "Unable to set video mode: %s\n", SDL_GetError());
        return nullptr;
    }
    videoFlags = flags;
    SDL_WM_SetCaption(caption.c_str(), GAME_CAPTION);
    return game_screen;
}
}  // namespace

SDL_Surface* InitVideo(Uint32 flags) {
    return startVideo() ? setMode(flags) : nullptr;
}

bool startsFullscreen(std::optional<bool> chosen, int desktopWidth, int desktopHeight,
                      std::ostream& notes) {
    if (chosen)
        return *chosen;
    if (desktopWidth <= 0 || desktopHeight <= 0 ||
        (desktopWidth >= SCREEN_WIDTH + DESKTOP_MARGIN_X &&
         desktopHeight >= SCREEN_HEIGHT + DESKTOP_MARGIN_Y))
        return false;
    notes << "skarlume: the desktop is " << desktopWidth << "x" << desktopHeight
          << ", too small for the " << SCREEN_WIDTH << "x" << SCREEN_HEIGHT
          << " window: starting fullscreen (F11 or --window for a window)" << std::endl;
    return true;
}

SDL_Surface* openGameWindow(std::optional<bool> chosen, std::ostream& notes) {
    if (!startVideo())
        return nullptr;
    // The desktop's size is known only once video has started and before the first mode. The
    // dummy driver has no desktop, whatever size it reports.
    int width = 0, height = 0;
    char driver[32] = "";
    const SDL_VideoInfo* desktop = SDL_GetVideoInfo();
#ifdef __EMSCRIPTEN__
    // A page has no desktop, only its canvas: the player enters the browser's fullscreen.
    desktop = nullptr;
#endif
    if (desktop != nullptr && SDL_VideoDriverName(driver, sizeof driver) != nullptr &&
        std::strcmp(driver, "dummy") != 0) {
        width = desktop->current_w;
        height = desktop->current_h;
    }
    const Uint32 flags =
        SDL_DOUBLEBUF | (startsFullscreen(chosen, width, height, notes) ? SDL_FULLSCREEN : 0);
    SDL_Surface* opened = setMode(flags);
    // A display that refuses fullscreen may still give a window.
    if (opened == nullptr && (flags & SDL_FULLSCREEN))
        opened = setMode(flags & ~SDL_FULLSCREEN);
    return opened;
}

bool isFullscreen() {
    return game_screen != nullptr && (game_screen->flags & SDL_FULLSCREEN) != 0;
}

bool setFullscreen(bool on) {
    if (game_screen == nullptr)
        return false;
    if (isFullscreen() == on)
        return true;
    // SDL's toggle keeps the very surface and its pixels; where it cannot, a new mode renews
    // the screen (every pointer to it follows game_screen) and its pixels are gone.
    if (SDL_WM_ToggleFullScreen(game_screen) == 0 || isFullscreen() != on) {
        const Uint32 before = videoFlags;
        if (setMode((videoFlags & ~SDL_FULLSCREEN) | (on ? SDL_FULLSCREEN : 0)) == nullptr &&
            setMode(before) == nullptr) {
            fprintf(stderr, "skarlume: the screen is gone and no mode can be set again\n");
            exit(1);
        }
    } else {
        videoFlags ^= SDL_FULLSCREEN;
    }
    screenLost();
    return isFullscreen() == on;
}

unsigned screenGeneration() {
    return generation;
}

void screenLost() {
    ++generation;
}

bool screenKeepsItsPicture() {
    return game_screen != nullptr && (game_screen->flags & SDL_HWSURFACE) == 0;
}

namespace {
// The generation of the last whole send: a later loss needs another.
unsigned presentedWholeAt = ~0u;

void tellWatcher(const std::vector<SDL_Rect>& places) {
    if (watcher != nullptr)
        watcher->tell(places);
}

void presentWhole() {
    presentedWholeAt = generation;
    SDL_Flip(game_screen);
    tellWatcher({{0, 0, Uint16(game_screen->w), Uint16(game_screen->h)}});
}
}  // namespace

void presentScreen(const std::vector<SDL_Rect>* changed) {
    if (game_screen == nullptr)
        return;
    if (changed == nullptr || presentedWholeAt != generation || !screenKeepsItsPicture() ||
        (game_screen->flags & SDL_DOUBLEBUF) != 0) {
        presentWhole();
        return;
    }
    // Beyond half the window, the places overlapping or not, one whole send costs less than
    // the pieces.
    long area = 0;
    for (const SDL_Rect& place : *changed)
        area += long(place.w) * place.h;
    if (area > long(game_screen->w) * game_screen->h / 2) {
        presentWhole();
        return;
    }
    if (changed->empty())
        return;
    // SDL takes the places as its own to change.
    static std::vector<SDL_Rect> sent;
    sent.assign(changed->begin(), changed->end());
    SDL_UpdateRects(game_screen, int(sent.size()), sent.data());
    tellWatcher(*changed);
}

namespace {
bool mustLock(SDL_Surface* s) {
#ifdef __EMSCRIPTEN__
    // In a browser the screen is the page's canvas: locking it copies the canvas out, and
    // unlocking writes that copy back over everything drawn in between.
    if (s == SDL_GetVideoSurface())
        return false;
#endif
    return SDL_MUSTLOCK(s);
}
}  // namespace

void Slock(SDL_Surface* s) {
    if (mustLock(s))
        SDL_LockSurface(s);
}

void Sulock(SDL_Surface* s) {
    if (mustLock(s))
        SDL_UnlockSurface(s);
}

namespace {
// Run-length encoding costs a little for every row a blit covers and saves on every pixel it
// skips or copies: these tall, narrow pictures draw faster without it, every other picture
// faster with it (skarlume_bench --pictures times each both ways).
constexpr ImageId UNENCODED[] = {IMG_LASER_N, IMG_LASER_S, IMG_ENEMY_LASER_V, IMG_WALL_V,
                                 IMG_BOUNDS_V};

bool runLengthEncoded(const char* file) {
    for (ImageId id : UNENCODED)
        if (std::strcmp(file, imageFiles[id]) == 0)
            return false;
    return true;
}
}  // namespace

SDL_Surface* LoadImage(const char* file) {
    SDL_Surface* picture = SDL_LoadBMP_RW(SDL_RWFromFile(file, "rb"), 1);
    // SDL reads a height of INT_MIN as a top-down picture and hands back a negative size.
    if (picture != nullptr && (picture->w <= 0 || picture->h <= 0)) {
        SDL_SetError("bad picture size %dx%d", picture->w, picture->h);
        SDL_FreeSurface(picture);
        picture = nullptr;
    }
    if (picture == nullptr) {
        fprintf(stderr, "Error loading %s: %s\n", file, SDL_GetError());
        return nullptr;
    }
    const Uint32 rle = runLengthEncoded(file) ? SDL_RLEACCEL : 0;
    SDL_SetColorKey(picture, SDL_SRCCOLORKEY | rle, SDL_MapRGB(picture->format, 255, 255, 255));
    SDL_Surface* converted = SDL_DisplayFormat(picture);
    SDL_FreeSurface(picture);
    return converted;
}

bool InitImages() {
    for (int id = 0; id < IMAGE_COUNT; ++id) {
        images[id] = LoadImage(imageFiles[id]);
        if (images[id] == nullptr)
            return false;
    }
    loaded = true;
    return true;
}

SDL_Surface* GetImage(int id) {
    if (!loaded)
        InitImages();
    return images[id];
}

namespace {
std::vector<SDL_Rect>* drawnAreas = nullptr;

// SDL_Rect keeps positions in 16 bits: anything beyond them would wrap onto the screen.
bool fitsRect(int value) {
    return value >= std::numeric_limits<Sint16>::min() &&
           value <= std::numeric_limits<Sint16>::max();
}
}  // namespace

void DrawPartialImage(SDL_Surface* img, int x, int y, int sx, int sy, int w, int h) {
    if (img == nullptr || game_screen == nullptr)
        return;
    if (!fitsRect(x) || !fitsRect(y) || !fitsRect(sx) || !fitsRect(sy))
        return;
    if (w <= 0 || h <= 0 || w > std::numeric_limits<Uint16>::max() ||
        h > std::numeric_limits<Uint16>::max())
        return;
    // Clipped here rather than left to the blit: not every SDL clips (the browser's does not),
    // and the rectangle recorded must be the one that was drawn. First the part asked for is
    // held to the picture, then where it lands is held to the target's clip rectangle; each cut
    // moves the other rectangle with it.
    SDL_Rect clip;
    SDL_GetClipRect(game_screen, &clip);
    auto cut = [](int& from, int& to, int& length, int low, int high) {
        if (from < low) {
            to += low - from;
            length -= low - from;
            from = low;
        }
        length = std::min(length, high - from);
    };
    cut(sx, x, w, 0, img->w);
    cut(sy, y, h, 0, img->h);
    cut(x, sx, w, clip.x, clip.x + clip.w);
    cut(y, sy, h, clip.y, clip.y + clip.h);
    if (w <= 0 || h <= 0)
        return;
    SDL_Rect source = {static_cast<Sint16>(sx), static_cast<Sint16>(sy), static_cast<Uint16>(w),
                       static_cast<Uint16>(h)};
    SDL_Rect destination = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
                            static_cast<Uint16>(h)};
    SDL_BlitSurface(img, &source, game_screen, &destination);
    if (drawnAreas != nullptr)
        drawnAreas->push_back({static_cast<Sint16>(x), static_cast<Sint16>(y),
                               static_cast<Uint16>(w), static_cast<Uint16>(h)});
}

void DrawImage(SDL_Surface* img, int x, int y) {
    if (img == nullptr)
        return;
    DrawPartialImage(img, x, y, 0, 0, img->w, img->h);
}

void UnloadImages() {
    for (SDL_Surface*& picture : images) {
        SDL_FreeSurface(picture);
        picture = nullptr;
    }
    loaded = false;
}

DrawingTarget::DrawingTarget(SDL_Surface* target) : previous(game_screen) {
    game_screen = target;
}

DrawingTarget::~DrawingTarget() {
    game_screen = previous;
}

DrawnAreas::DrawnAreas(std::vector<SDL_Rect>& areas) : previous(drawnAreas) {
    drawnAreas = &areas;
}

DrawnAreas::~DrawnAreas() {
    drawnAreas = previous;
}

PresentWatcher::PresentWatcher(Receiver receive) : receive(std::move(receive)), previous(watcher) {
    watcher = this;
}

PresentWatcher::~PresentWatcher() {
    watcher = previous;
}

void setWindowCaption(const std::string& text) {
    caption = text;
    if (game_screen != nullptr)
        SDL_WM_SetCaption(caption.c_str(), GAME_CAPTION);
}

const std::string& windowCaption() {
    return caption;
}

void DimScreen() {
    if (game_screen == nullptr)
        return;
    const SDL_PixelFormat* format = game_screen->format;
    SDL_Surface* shade =
        SDL_CreateRGBSurface(SDL_SWSURFACE, game_screen->w, game_screen->h, format->BitsPerPixel,
                             format->Rmask, format->Gmask, format->Bmask, format->Amask);
    if (shade == nullptr)
        return;
    SDL_FillRect(shade, nullptr, SDL_MapRGB(shade->format, 0, 0, 0));
    SDL_SetAlpha(shade, SDL_SRCALPHA, SDL_ALPHA_OPAQUE / 2 + SDL_ALPHA_OPAQUE / 4);
    SDL_BlitSurface(shade, nullptr, game_screen, nullptr);
    SDL_FreeSurface(shade);
}
