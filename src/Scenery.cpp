// What never moves during a level, composed once into one picture, and laid back over whatever
// moves across it.
#include "Scenery.h"

#include <algorithm>

#include "graphics.h"

namespace {

// The layers are cut into cells of this many pixels square.
constexpr int CELL = 16;
constexpr int COLUMNS = (SCREEN_WIDTH + CELL - 1) / CELL;
constexpr int ROWS = (SCREEN_HEIGHT + CELL - 1) / CELL;

Uint32 transparentWhite() {
    return SDL_MapRGB(game_screen->format, 255, 255, 255);
}

// A window-sized picture in the screen's format, all transparent white.
SDL_Surface* newTransparentPicture() {
    const SDL_PixelFormat* format = game_screen->format;
    SDL_Surface* picture =
        SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_WIDTH, SCREEN_HEIGHT, format->BitsPerPixel,
                             format->Rmask, format->Gmask, format->Bmask, format->Amask);
    if (picture == nullptr)
        return nullptr;
    SDL_FillRect(picture, nullptr, transparentWhite());
    SDL_SetColorKey(picture, SDL_SRCCOLORKEY, transparentWhite());
    return picture;
}

// Pixels of 2 or 4 bytes are searched; with any other size a picture is taken to have it, which
// only ever means drawing the plain way.
template <class Pixel>
bool hasPixelOf(SDL_Surface* picture, Uint32 value) {
    for (int y = 0; y < picture->h; ++y) {
        const auto* row = reinterpret_cast<const Pixel*>(
            static_cast<const Uint8*>(picture->pixels) + y * picture->pitch);
        if (std::find(row, row + picture->w, Pixel(value)) != row + picture->w)
            return true;
    }
    return false;
}

bool hasPixel(SDL_Surface* picture, Uint32 value) {
    Slock(picture);
    const int bytes = picture->format->BytesPerPixel;
    bool found = bytes == 2   ? hasPixelOf<Uint16>(picture, value)
                 : bytes == 4 ? hasPixelOf<Uint32>(picture, value)
                              : true;
    Sulock(picture);
    return found;
}

// A picture can go into a layer if nothing it draws would read there as transparent white:
// it is in the screen's format and white is transparent in it too, or it has no white at all.
bool composable(SDL_Surface* picture) {
    if (picture == nullptr)
        return true;
    const SDL_PixelFormat* mine = picture->format;
    const SDL_PixelFormat* screens = game_screen->format;
    if (mine->BitsPerPixel != screens->BitsPerPixel || mine->Rmask != screens->Rmask ||
        mine->Gmask != screens->Gmask || mine->Bmask != screens->Bmask ||
        mine->Amask != screens->Amask || (picture->flags & SDL_SRCALPHA))
        return false;
    const Uint32 white = transparentWhite();
#ifndef __EMSCRIPTEN__
    // The browser's SDL keeps no colour key in the format: there keyed white is transparent
    // already, and the search below finds no white in a keyed picture.
    if ((picture->flags & SDL_SRCCOLORKEY) && mine->colorkey == white)
        return true;
#endif
    return !hasPixel(picture, white);
}

}  // namespace

// ---- Layer ----

Layer::~Layer() {
    clear();
}

void Layer::clear() {
    SDL_FreeSurface(pixels);
    pixels = nullptr;
    cells.clear();
}

template <class Draw>
bool Layer::compose(Draw draw) {
    clear();
    pixels = newTransparentPicture();
    if (pixels == nullptr)
        return false;
    std::vector<SDL_Rect> drawn;
    {
        DrawingTarget into(pixels);
        DrawnAreas recorded(drawn);
        draw();
    }
    if (drawn.empty()) {
        clear();
        return true;
    }
    cells.assign(COLUMNS * ROWS, false);
    for (const SDL_Rect& area : drawn)
        for (int row = area.y / CELL; row * CELL < area.y + area.h; ++row)
            for (int column = area.x / CELL; column * CELL < area.x + area.w; ++column)
                cells[row * COLUMNS + column] = true;
    return true;
}

bool Layer::holdsCell(int column, int row) const {
    return cells[row * COLUMNS + column];
}

// Cell row by cell row, one draw for each run of cells that hold something.
void Layer::drawOver(const std::vector<SDL_Rect>& places) const {
    if (pixels == nullptr)
        return;
    for (const SDL_Rect& place : places) {
        const int left = place.x, right = place.x + place.w;
        const int bottom = place.y + place.h;
        for (int row = place.y / CELL; row * CELL < bottom; ++row) {
            const int top = std::max(int(place.y), row * CELL);
            const int height = std::min(bottom, (row + 1) * CELL) - top;
            for (int column = left / CELL; column * CELL < right;) {
                if (!holdsCell(column, row)) {
                    ++column;
                    continue;
                }
                const int first = column;
                while (column * CELL < right && holdsCell(column, row))
                    ++column;
                const int x = std::max(left, first * CELL);
                const int width = std::min(right, column * CELL) - x;
                DrawPartialImage(pixels, x, top, x, top, width, height);
            }
        }
    }
}

// ---- Scenery ----

Scenery::~Scenery() {
    release();
}

void Scenery::release() {
    SDL_FreeSurface(backdrop);
    backdrop = nullptr;
    SDL_FreeSurface(pieces);
    pieces = nullptr;
    laidOn = nullptr;
    outlines.clear();
    walls.clear();
    composed = false;
}

bool Scenery::unchanged(SDL_Surface* newBackground, const std::list<bound>& newAreas,
                        const std::list<Wall>& newWalls) const {
    auto same = [](const bound& a, const bound& b) {
        return a.top == b.top && a.right == b.right && a.bottom == b.bottom && a.left == b.left;
    };
    return upToDate && game_screen == screen && newBackground == background &&
           newWalls.size() == wallCount && outlinePictures[0] == GetImage(IMG_BOUNDS_V) &&
           outlinePictures[1] == GetImage(IMG_BOUNDS_H) &&
           std::equal(areas.begin(), areas.end(), newAreas.begin(), newAreas.end(), same);
}

void Scenery::update(SDL_Surface* newBackground, const std::list<bound>& newAreas,
                     std::list<Wall>& newWalls) {
    areaList = &newAreas;
    wallList = &newWalls;
    if (unchanged(newBackground, newAreas, newWalls))
        return;
    screen = game_screen;
    background = newBackground;
    areas.assign(newAreas.begin(), newAreas.end());
    wallCount = newWalls.size();
    outlinePictures[0] = GetImage(IMG_BOUNDS_V);
    outlinePictures[1] = GetImage(IMG_BOUNDS_H);
    upToDate = true;
    compose();
}

bool Scenery::composable() const {
    if (game_screen == nullptr || !::composable(background) || !::composable(outlinePictures[0]) ||
        !::composable(outlinePictures[1]))
        return false;
    return std::all_of(wallList->begin(), wallList->end(),
                       [](const Wall& wall) { return ::composable(wall.getImage()); });
}

// In the painter's order: the outlines in the order of the areas, then the walls in theirs,
// each over the ones before.
void Scenery::compose() {
    release();
    if (!composable())
        return;
    backdrop = newTransparentPicture();
    if (backdrop == nullptr ||
        (!areaList->empty() && !outlines.compose([this] { drawAllOutlines(); })) ||
        (!wallList->empty() && !walls.compose([this] { drawAllWalls(); }))) {
        release();
        return;
    }
    {
        DrawingTarget into(backdrop);
        DrawImage(background, 0, 0);
        drawAllOutlines();
        drawAllWalls();
    }
    // Pieces are cut from a copy that is not run-length encoded: SDL finds a piece of an encoded
    // picture by reading it from the top, which costs about a whole blit for each piece. The
    // copy keeps the colour key even where the background has no hole: SDL's plain copy writes
    // past the cache, which for small pieces measured several times slower than the keyed blit.
    pieces = SDL_ConvertSurface(backdrop, backdrop->format, SDL_SWSURFACE);
    if (pieces == nullptr) {
        release();
        return;
    }
    SDL_SetColorKey(pieces, SDL_SRCCOLORKEY, transparentWhite());
    // The whole backdrop run-length encoded even with no transparent pixel: SDL's plain copy of a
    // whole window writes past the cache and measures twice as slow as the encoded blit, which
    // also skips any holes the background has.
    SDL_SetColorKey(backdrop, SDL_SRCCOLORKEY | SDL_RLEACCEL, transparentWhite());
    composed = true;
}

void Scenery::drawAllOutlines() {
    for (const bound& area : *areaList)
        drawBounds(area);
}

void Scenery::drawAllWalls() {
    for (Wall& wall : *wallList)
        wall.draw();
}

void Scenery::drawBackdrop() {
    DrawImage(composed ? backdrop : background, 0, 0);
    laidOn = composed && drawsWholeScreen() ? game_screen : nullptr;
}

bool Scenery::drawBackdropOver(const std::vector<SDL_Rect>& moved,
                               const std::vector<SDL_Rect>& drawnSince) {
    // A hardware screen may flip between two buffers, and a clipped draw left the rest of the
    // screen as it was: then the whole backdrop goes down again, and all of it may change.
    const bool held = laidOn != nullptr && laidOn == game_screen && drawsWholeScreen() &&
                      (game_screen->flags & SDL_HWSURFACE) == 0;
    // A piece costs about twenty times a whole blit's share of the window, pixel for pixel:
    // beyond a twenty-fourth of the window in pieces, the whole backdrop is the cheaper. Laid
    // over the same picture, it changes only the same places.
    long area = 0;
    for (const auto* places : {&moved, &drawnSince})
        for (const SDL_Rect& place : *places)
            area += long(place.w) * place.h;
    if (!held || area > long(SCREEN_WIDTH) * SCREEN_HEIGHT / 24) {
        drawBackdrop();
        return held;
    }
    for (const auto* places : {&moved, &drawnSince})
        for (const SDL_Rect& place : *places)
            DrawPartialImage(pieces, place.x, place.y, place.x, place.y, place.w, place.h);
    return true;
}

bool Scenery::drawsWholeScreen() const {
    const SDL_Rect& clip = game_screen->clip_rect;
    return clip.x == 0 && clip.y == 0 && clip.w == game_screen->w && clip.h == game_screen->h;
}

void Scenery::drawOutlinesOver(const std::vector<SDL_Rect>& places) {
    if (composed)
        outlines.drawOver(places);
    else
        drawAllOutlines();
}

void Scenery::drawWallsOver(const std::vector<SDL_Rect>& places) {
    if (composed)
        walls.drawOver(places);
    else
        drawAllWalls();
}
