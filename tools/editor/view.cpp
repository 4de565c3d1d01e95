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

// A mark at the edge of the field pointing at an object that lies off it.
void drawOffField(const Box& box, Uint32 c) {
    const int x = std::clamp(box.x + box.w / 2, 0, SCREEN_WIDTH - 1);
    const int y = std::clamp(box.y + box.h / 2, 0, SCREEN_HEIGHT - 1);
    fill(x - 6, y - 6, 12, 12, c);
}

bool offField(const Box& box) {
    return box.x + box.w <= 0 || box.y + box.h <= 0 || box.x >= SCREEN_WIDTH ||
           box.y >= SCREEN_HEIGHT;
}

std::vector<std::string> messageLines(const std::string& message) {
    std::vector<std::string> lines;
    for (size_t start = 0; start <= message.size() && !message.empty();) {
        const size_t feed = message.find('\n', start);
        lines.push_back(message.substr(start, feed == std::string::npos ? feed : feed - start));
        if (feed == std::string::npos)
            break;
        start = feed + 1;
    }
    return lines;
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

int ListRows::rowAt(int y) const {
    if (y < top || rowHeight <= 0)
        return -1;
    const int row = (y - top) / rowHeight;
    return row < rows ? row : -1;
}

ListRows findingsRows(const EditorMarks& marks, const Lettering& lettering) {
    const int height = lettering.lineHeight();
    const int rows = int(marks.findings.size());
    if (!marks.listOnTop)
        return {SCREEN_HEIGHT - rows * height, height, rows};
    const int above =
        1 + (marks.selection.empty() ? 0 : 1) + int(messageLines(marks.message).size());
    return {above * height, height, rows};
}

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
    const Uint32 highlight = inkColour(Ink::Highlight);
    for (size_t line : marks.alsoSelected)
        if (const LevelObject* object = shown.object(line))
            offField(boxOf(*object)) ? drawOffField(boxOf(*object), highlight)
                                     : outline(boxOf(*object), 1, highlight);
    if (marks.selected) {
        if (const LevelObject* object = shown.object(*marks.selected)) {
            const Box box = boxOf(*object);
            if (offField(box))
                drawOffField(box, highlight);
            outline(box, 1, highlight);
            for (point handle : handlesOf(*object))
                fill(handle.x - HANDLE_SIZE / 2, handle.y - HANDLE_SIZE / 2, HANDLE_SIZE,
                     HANDLE_SIZE, highlight);
        }
    }
    if (marks.box)
        outline(*marks.box, 1, inkColour(Ink::Mark));
    const int lineHeight = lettering.lineHeight();
    int y = 0;
    drawLetteringLine(y, marks.status, Ink::Plain, lettering);
    if (!marks.selection.empty())
        drawLetteringLine(y += lineHeight, marks.selection, Ink::Highlight, lettering);
    for (const std::string& line : messageLines(marks.message))
        drawLetteringLine(y += lineHeight, line, marks.messageInk, lettering);
    const ListRows list = findingsRows(marks, lettering);
    for (size_t i = 0; i < marks.findings.size(); ++i)
        drawLetteringLine(list.top + int(i) * lineHeight, marks.findings[i],
                          i == 0 ? Ink::Plain : Ink::Problem, lettering);
    if (!marks.help.empty())
        drawHelp(marks.help, lettering);
}
