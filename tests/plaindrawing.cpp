// The screen as the drawing rules describe it, drawn the plain way, tile by tile, no caches.
#include "plaindrawing.h"

#include <algorithm>
#include <limits>

#include "graphics.h"

namespace {

ShipLook lookOf(const Ship& ship) {
    return {ship.getImage(), ship.getXPosition(), ship.getYPosition(), ship.getExplosionFrames()};
}

bool fitsRect(int value) {
    return value >= std::numeric_limits<Sint16>::min() &&
           value <= std::numeric_limits<Sint16>::max();
}

}  // namespace

FrameState captureFrame(Level& level, int lives) {
    FrameState frame;
    frame.background = level.getBackground();
    const Player& player = *level.getPlayer();
    frame.player = lookOf(player);
    frame.areas.assign(player.getBounds().begin(), player.getBounds().end());
    for (const Ship* ship : level.getEnemies())
        frame.ships.push_back(lookOf(*ship));
    frame.lasers.assign(level.getLasers().begin(), level.getLasers().end());
    frame.walls.assign(level.getWalls().begin(), level.getWalls().end());
    frame.lives = lives;
    frame.banner = bannerLook(level);
    return frame;
}

PlainDrawing::PlainDrawing(SDL_Surface* target, bool runLengthEncoded)
    : target(target), runLengthEncoded(runLengthEncoded) {}

PlainDrawing::~PlainDrawing() {
    for (auto& entry : copies)
        SDL_FreeSurface(entry.second);
}

// A copy of a registry picture with the same pixels and colour key, encoded as asked.
SDL_Surface* PlainDrawing::copyOf(SDL_Surface* picture) {
    auto found = copies.find(picture);
    if (found != copies.end())
        return found->second;
    SDL_Surface* copy = SDL_ConvertSurface(picture, picture->format, SDL_SWSURFACE);
    if (copy != nullptr && (picture->flags & SDL_SRCCOLORKEY))
        SDL_SetColorKey(copy, SDL_SRCCOLORKEY | (runLengthEncoded ? SDL_RLEACCEL : 0),
                        picture->format->colorkey);
    else if (copy != nullptr)
        SDL_SetColorKey(copy, 0, 0);
    copies[picture] = copy;
    return copy;
}

// As the game's partial draw: nothing for a missing picture, an empty size or a place beyond
// SDL's 16-bit rectangles; SDL clips the rest.
void PlainDrawing::blit(SDL_Surface* picture, int x, int y, int sx, int sy, int w, int h) {
    if (picture == nullptr || !fitsRect(x) || !fitsRect(y) || !fitsRect(sx) || !fitsRect(sy))
        return;
    if (w <= 0 || h <= 0 || w > std::numeric_limits<Uint16>::max() ||
        h > std::numeric_limits<Uint16>::max())
        return;
    SDL_Rect source = {Sint16(sx), Sint16(sy), Uint16(w), Uint16(h)};
    SDL_Rect destination = {Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
    SDL_BlitSurface(copyOf(picture), &source, target, &destination);
}

void PlainDrawing::blitWhole(SDL_Surface* picture, int x, int y) {
    if (picture != nullptr)
        blit(picture, x, y, 0, 0, picture->w, picture->h);
}

void PlainDrawing::draw(const FrameState& frame) {
    blitWhole(frame.background, 0, 0);
    // The level's banner lies on the background, under everything else.
    {
        DrawingTarget onto(target);
        drawBanner(frame.banner);
    }
    drawShip(frame.player);
    for (const bound& area : frame.areas)
        drawOutline(area);
    for (const ShipLook& ship : frame.ships)
        drawShip(ship);
    for (auto laser = frame.lasers.rbegin(); laser != frame.lasers.rend(); ++laser)
        drawLaser(*laser);
    for (const Wall& wall : frame.walls)
        drawWall(wall);
    SDL_Surface* icon = frame.player.image;
    for (int i = 1; icon != nullptr && i < frame.lives; ++i)
        blitWhole(icon, SCREEN_WIDTH - i * icon->w, SCREEN_HEIGHT - icon->h);
}

// Gone once the explosion is over; the explosion centred over the ship while it lasts.
void PlainDrawing::drawShip(const ShipLook& ship) {
    if (ship.explosionFrames == 0)
        return;
    blitWhole(ship.image, ship.x, ship.y);
    SDL_Surface* explosion = GetImage(IMG_EXPLOSION);
    if (ship.explosionFrames < 1 || ship.image == nullptr || explosion == nullptr)
        return;
    blitWhole(explosion, ship.x + ship.image->w / 2 - explosion->w / 2,
              ship.y + ship.image->h / 2 - explosion->h / 2);
}

// Sides first, then the top and bottom rows over them; each tiled, the last piece cut.
void PlainDrawing::drawOutline(const bound& area) {
    SDL_Surface* side = GetImage(IMG_BOUNDS_V);
    SDL_Surface* row = GetImage(IMG_BOUNDS_H);
    if (side == nullptr || row == nullptr)
        return;
    for (int y = area.top; y < area.bottom; y += side->h) {
        int piece = std::min(side->h, area.bottom - y);
        blit(side, area.left, y, 0, 0, side->w, piece);
        blit(side, area.right - side->w, y, 0, 0, side->w, piece);
    }
    for (int x = area.left; x < area.right; x += row->w) {
        int piece = std::min(row->w, area.right - x);
        blit(row, x, area.top, 0, 0, piece, row->h);
        blit(row, x, area.bottom - row->h, 0, 0, piece, row->h);
    }
}

// The part of the beam between its birth line and its vanish line, as its state says.
void PlainDrawing::drawLaser(const Laser& laser) {
    SDL_Surface* image = laser.getImage();
    if (image == nullptr)
        return;
    const int x = laser.getXPosition(), y = laser.getYPosition(), w = image->w, h = image->h;
    const int bx = laser.getBirthPoint().x, by = laser.getBirthPoint().y;
    const int vx = laser.getVanishPoint().x, vy = laser.getVanishPoint().y;
    const int direction = laser.getDirection();
    laser_state state = laser.getState();

    if (state == LS_APPEARING || state == LS_APPEARING_VANISHING) {
        bool tailOut = (direction == 0 && by - y > h) || (direction == 90 && bx - x < 0) ||
                       (direction == 180 && by - y < 0) || (direction == 270 && bx - x > w);
        if (tailOut) {
            state = state == LS_APPEARING ? LS_NORMAL : LS_VANISHING;
        } else if (state == LS_APPEARING) {
            if (direction == 0)
                blit(image, x, y, 0, 0, w, by - y);
            else if (direction == 90)
                blit(image, bx, by, bx - x, 0, w - (bx - x), h);
            else if (direction == 180)
                blit(image, bx, by, 0, by - y, w, h - (by - y));
            else if (direction == 270)
                blit(image, x, y, 0, 0, bx - x, h);
            return;
        } else {
            if (direction == 0)
                blit(image, vx, vy, 0, vy - y, w, by - vy);
            else if (direction == 90)
                blit(image, bx, by, bx - x, 0, vx - bx, h);
            else if (direction == 180)
                blit(image, bx, by, 0, by - y, w, vy - by);
            else if (direction == 270)
                blit(image, vx, vy, vx - x, 0, bx - vx, h);
            return;
        }
    }
    if (state == LS_NORMAL) {
        blitWhole(image, x, y);
    } else if (state == LS_VANISHING) {
        if (direction == 0 && vy - y <= h)
            blit(image, vx, vy, 0, vy - y, w, h - (vy - y));
        else if (direction == 90 && vx - x >= 0)
            blit(image, x, y, 0, 0, vx - x, h);
        else if (direction == 180 && vy - y >= 0)
            blit(image, x, y, 0, 0, w, vy - y);
        else if (direction == 270 && vx - x <= w)
            blit(image, vx, vy, vx - x, 0, w - (vx - x), h);
    }
}

// Straight walls run past their end by their thickness, the last copy cut; diagonal copies
// overlap by 6 pixels and the last one is pulled back to end at the limit.
void PlainDrawing::drawWall(const Wall& wall) {
    SDL_Surface* image = wall.getImage();
    if (image == nullptr)
        return;
    const int w = image->w, h = image->h;
    const int sx = wall.getStart().x, sy = wall.getStart().y;
    const int ex = wall.getEnd().x, ey = wall.getEnd().y;
    const int overlap = 6;
    switch (wall.getDirection()) {
        case 0:
            for (int row = sy; ey + w - row > 0; row += std::min(h, ey + w - row))
                blit(image, sx, row, 0, 0, w, std::min(h, ey + w - row));
            break;
        case 90:
            for (int column = sx; ex + h - column > 0; column += std::min(w, ex + h - column))
                blit(image, column, sy, 0, 0, std::min(w, ex + h - column), h);
            break;
        case 135:
            for (int cx = sx, cy = sy; ex + overlap - cx > overlap;) {
                int k = std::min(w, ex + overlap - cx);
                blitWhole(image, cx + k - w, cy + k - h);
                if (k <= overlap)  // a picture this narrow would never move on
                    break;
                cx += k - overlap;
                cy += k - overlap;
            }
            break;
        default:
            for (int cx = sx, cy = sy; ey - cy > overlap;) {
                int k = std::min(h, ey - cy);
                blitWhole(image, cx - k, cy + k - h);
                if (k <= overlap)
                    break;
                cy += k - overlap;
                cx -= k - overlap;
            }
            break;
    }
}
