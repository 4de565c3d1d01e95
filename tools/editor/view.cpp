// What the editor draws over the level: the grid, the selection, the enemies' walks, the
// checker's findings and the lettering.
#include "view.h"

#include <algorithm>
#include <cstdlib>

#include "graphics.h"
#include "shapes.h"

namespace {

constexpr int GRID_DOT_SPACING = 32;
constexpr int HANDLE_SIZE = 7;

Uint32 colour(int r, int g, int b) {
    return SDL_MapRGB(game_screen->format, Uint8(r), Uint8(g), Uint8(b));
}

Uint32 inkColour(Ink ink) {
    const int* rgb = INK_COLOURS[int(ink)];
    return colour(rgb[0], rgb[1], rgb[2]);
}

void fill(int x, int y, int w, int h, Uint32 c) {
    // SDL_Rect holds 16-bit positions: keep far-off objects from wrapping onto the field.
    const int left = std::clamp(x, -1, SCREEN_WIDTH + 1),
              top = std::clamp(y, -1, SCREEN_HEIGHT + 1);
    const int right = std::clamp(x + w, -1, SCREEN_WIDTH + 1);
    const int bottom = std::clamp(y + h, -1, SCREEN_HEIGHT + 1);
    if (right <= left || bottom <= top)
        return;
    SDL_Rect r = {Sint16(left), Sint16(top), Uint16(right - left), Uint16(bottom - top)};
    SDL_FillRect(game_screen, &r, c);
}

void outline(const Box& box, int thickness, Uint32 c) {
    const int x = box.x - thickness, y = box.y - thickness;
    const int w = box.w + 2 * thickness, h = box.h + 2 * thickness;
    fill(x, y, w, thickness, c);
    fill(x, y + h - thickness, w, thickness, c);
    fill(x, y, thickness, h, c);
    fill(x + w - thickness, y, thickness, h, c);
}

// A line two pixels wide, Bresenham's way.
void line(point a, point b, Uint32 c) {
    int x = a.x, y = a.y;
    const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int error = dx + dy;
    for (int guard = 0; guard < 4 * (SCREEN_WIDTH + SCREEN_HEIGHT); ++guard) {
        fill(x, y, 2, 2, c);
        if (x == b.x && y == b.y)
            break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void drawGrid(int step) {
    const int spacing = std::max(GRID_DOT_SPACING, step);
    const Uint32 dot = colour(120, 130, 170);
    for (int y = 0; y < SCREEN_HEIGHT; y += spacing)
        for (int x = 0; x < SCREEN_WIDTH; x += spacing)
            fill(x, y, 2, 2, dot);
}

// The loop an enemy walks: from its start to the first point, then round and round.
void drawWalk(const LevelObject& enemy, const Lettering& lettering) {
    if (enemy.walk.empty())
        return;
    const Uint32 path = inkColour(Ink::Mark), approach = colour(70, 120, 150);
    const point start = waypointCentre(enemy, enemy.at);
    line(start, waypointCentre(enemy, enemy.walk.front()), approach);
    for (size_t i = 0; i < enemy.walk.size(); ++i) {
        const point from = waypointCentre(enemy, enemy.walk[i]);
        const point to = waypointCentre(enemy, enemy.walk[(i + 1) % enemy.walk.size()]);
        line(from, to, path);
    }
    for (size_t i = 0; i < enemy.walk.size(); ++i) {
        const point at = waypointCentre(enemy, enemy.walk[i]);
        const std::string number = std::to_string(i + 1);
        lettering.draw(at.x - lettering.width(number) / 2, at.y - lettering.lineHeight() / 2,
                       number, Ink::Mark);
    }
}

void drawLetteringLine(int y, const std::string& text, Ink ink, const Lettering& lettering) {
    const int room = SCREEN_WIDTH / std::max(1, lettering.glyphWidth()) - 1;
    std::string shown = int(text.size()) > room ? text.substr(0, size_t(room - 3)) + "..." : text;
    fill(0, y, lettering.width(shown) + 2 * lettering.glyphWidth(), lettering.lineHeight(),
         colour(0, 0, 0));
    lettering.draw(lettering.glyphWidth(), y, shown, ink);
}

void drawHelp(const std::vector<std::string>& help, const Lettering& lettering) {
    size_t widest = 0;
    for (const std::string& text : help)
        widest = std::max(widest, text.size());
    const int w = int(widest + 4) * lettering.glyphWidth();
    const int h = int(help.size() + 2) * lettering.lineHeight();
    const int x = (SCREEN_WIDTH - w) / 2, y = (SCREEN_HEIGHT - h) / 2;
    fill(x, y, w, h, colour(10, 12, 24));
    outline({x, y, w, h}, 2, inkColour(Ink::Highlight));
    for (size_t i = 0; i < help.size(); ++i)
        lettering.draw(x + 2 * lettering.glyphWidth(), y + int(i + 1) * lettering.lineHeight(),
                       help[i], i == 0 ? Ink::Highlight : Ink::Plain);
}

}  // namespace

void drawMarks(const LevelDocument& shown, const EditorMarks& marks, const Lettering& lettering) {
    if (!marks.shown)
        return;
    if (marks.gridStep > 0)
        drawGrid(marks.gridStep);
    for (size_t i = 0; i < shown.size(); ++i)
        if (const LevelObject* object = shown.object(i);
            object != nullptr && isShooter(object->kind))
            drawWalk(*object, lettering);
    for (size_t line : marks.flagged)
        if (const LevelObject* object = shown.object(line))
            outline(boxOf(*object), 2, inkColour(Ink::Problem));
    if (marks.selected) {
        if (const LevelObject* object = shown.object(*marks.selected)) {
            outline(boxOf(*object), 1, inkColour(Ink::Highlight));
            for (point handle : handlesOf(*object))
                fill(handle.x - HANDLE_SIZE / 2, handle.y - HANDLE_SIZE / 2, HANDLE_SIZE,
                     HANDLE_SIZE, inkColour(Ink::Highlight));
        }
    }
    const int lineHeight = lettering.lineHeight();
    drawLetteringLine(0, marks.status, Ink::Plain, lettering);
    if (!marks.message.empty())
        drawLetteringLine(lineHeight, marks.message, marks.messageInk, lettering);
    const int first = SCREEN_HEIGHT - int(marks.findings.size()) * lineHeight;
    for (size_t i = 0; i < marks.findings.size(); ++i)
        drawLetteringLine(first + int(i) * lineHeight, marks.findings[i], Ink::Problem, lettering);
    if (!marks.help.empty())
        drawHelp(marks.help, lettering);
}
