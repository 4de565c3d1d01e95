// The level report's chart, drawn with SDL_gfx and SDL_ttf: how much lateness each level's
// replay forgives, how often random play wins it, and how many targets and bounces it asks for.
#include "chart.h"

#include <SDL.h>
#include <SDL_gfxPrimitives.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

const char* const FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int WIDTH = 1000, LEFT = 70, RIGHT = 30;
constexpr int PANEL_HEIGHT = 150, PANEL_GAP = 62, TOP = 40;

struct Colour {
    Uint8 r, g, b;
};
const Colour BACKGROUND = {16, 20, 34}, GRID = {52, 60, 84}, LABEL = {200, 208, 226};
const Colour SLIGHTLY = {96, 176, 255}, QUITE = {255, 170, 60}, MASHER = {230, 80, 90};
const Colour SWEEPER = {240, 220, 90};
const Colour TARGETS = {120, 200, 140}, BOUNCES = {190, 140, 240}, TARGET_LINE = {150, 150, 150};

class Canvas {
public:
    Canvas(int height, TTF_Font* font)
        : surface(
              SDL_CreateRGBSurface(SDL_SWSURFACE, WIDTH, height, 32, 0xFF0000, 0xFF00, 0xFF, 0)),
          font(font) {}
    ~Canvas() {
        if (surface != nullptr)
            SDL_FreeSurface(surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    SDL_Surface* surface;

    void box(int x1, int y1, int x2, int y2, Colour c, Uint8 alpha = 255) {
        boxRGBA(surface, Sint16(x1), Sint16(y1), Sint16(x2), Sint16(y2), c.r, c.g, c.b, alpha);
    }
    void line(int x1, int y1, int x2, int y2, Colour c, int thickness = 1) {
        if (thickness > 1)
            thickLineRGBA(surface, Sint16(x1), Sint16(y1), Sint16(x2), Sint16(y2), Uint8(thickness),
                          c.r, c.g, c.b, 255);
        else
            lineRGBA(surface, Sint16(x1), Sint16(y1), Sint16(x2), Sint16(y2), c.r, c.g, c.b, 255);
    }
    void dot(int x, int y, Colour c) {
        filledCircleRGBA(surface, Sint16(x), Sint16(y), 4, c.r, c.g, c.b, 255);
    }
    // Text with its left edge at x (or centred on it) and its middle on y; returns its width.
    int text(const std::string& words, int x, int y, Colour c, bool centred = false) {
        SDL_Surface* rendered =
            TTF_RenderUTF8_Blended(font, words.c_str(), SDL_Color{c.r, c.g, c.b, 0});
        if (rendered == nullptr)
            return 0;
        const int width = rendered->w;
        SDL_Rect where = {Sint16(centred ? x - rendered->w / 2 : x), Sint16(y - rendered->h / 2), 0,
                          0};
        SDL_BlitSurface(rendered, nullptr, surface, &where);
        SDL_FreeSurface(rendered);
        return width;
    }

private:
    TTF_Font* font;
};

// One panel: its top, its scale and the column of each level.
struct Panel {
    int top;
    int most;  // the value at the panel's top
    size_t columns;

    int x(size_t column) const {
        const int span = WIDTH - LEFT - RIGHT;
        return LEFT + int((2 * column + 1) * span / (2 * columns));
    }
    int y(double value) const { return top + PANEL_HEIGHT - int(value * PANEL_HEIGHT / most); }
    int columnWidth() const { return (WIDTH - LEFT - RIGHT) / int(columns); }
};

void drawFrame(Canvas& canvas, const Panel& panel, const std::string& title, int step) {
    canvas.text(title, LEFT, panel.top - 16, LABEL);
    for (int value = 0; value <= panel.most; value += step) {
        canvas.line(LEFT, panel.y(value), WIDTH - RIGHT, panel.y(value), GRID);
        canvas.text(std::to_string(value), LEFT - 10, panel.y(value), LABEL, true);
    }
}

// A dashed guide from the first to the last column given, at a target's value.
void drawGuide(Canvas& canvas, const Panel& panel, const std::vector<LevelRow>& rows, int from,
               int to, double value) {
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].number < from || rows[i].number > to)
            continue;
        const int half = panel.columnWidth() / 2;
        for (int x = panel.x(i) - half; x < panel.x(i) + half; x += 8)
            canvas.line(x, panel.y(value), x + 4, panel.y(value), TARGET_LINE);
    }
}

void drawCurve(Canvas& canvas, const Panel& panel, const std::vector<double>& values, Colour c) {
    for (size_t i = 0; i + 1 < values.size(); ++i)
        canvas.line(panel.x(i), panel.y(values[i]), panel.x(i + 1), panel.y(values[i + 1]), c, 3);
    for (size_t i = 0; i < values.size(); ++i)
        canvas.dot(panel.x(i), panel.y(values[i]), c);
}

// One entry of the legend at x, which moves on past it.
void drawLegend(Canvas& canvas, int& x, int y, Colour c, const std::string& words,
                bool dashed = false) {
    if (dashed)
        canvas.line(x, y, x + 18, y, c);
    else
        canvas.box(x, y - 5, x + 18, y + 5, c);
    x += 26 + canvas.text(words, x + 26, y, LABEL) + 24;
}

}  // namespace

bool drawChart(const std::vector<LevelRow>& rows, const char* path) {
    if (rows.empty() || (TTF_WasInit() == 0 && TTF_Init() != 0))
        return false;
    std::unique_ptr<TTF_Font, void (*)(TTF_Font*)> font(TTF_OpenFont(FONT, 14), TTF_CloseFont);
    if (!font)
        return false;
    const int height = TOP + 3 * PANEL_HEIGHT + 2 * PANEL_GAP + 70;
    Canvas canvas(height, font.get());
    if (canvas.surface == nullptr)
        return false;
    canvas.box(0, 0, WIDTH - 1, height - 1, BACKGROUND);

    // Lateness: the share of tries won, in tenths, so that any number of tries reads alike.
    const Panel late{TOP, 10, rows.size()};
    drawFrame(canvas, late, "Replay played late: wins in 10 tries", 2);
    drawGuide(canvas, late, rows, 1, 10, 9);
    drawGuide(canvas, late, rows, 1, 35, 8);
    drawGuide(canvas, late, rows, 26, 35, 5);
    std::vector<double> slightly, quite;
    for (const LevelRow& row : rows) {
        slightly.push_back(row.lateTries ? 10.0 * row.slightlyLateWins / row.lateTries : 0);
        quite.push_back(row.lateTries ? 10.0 * row.quiteLateWins / row.lateTries : 0);
    }
    drawCurve(canvas, late, quite, QUITE);
    drawCurve(canvas, late, slightly, SLIGHTLY);

    const Panel random{late.top + PANEL_HEIGHT + PANEL_GAP, 30, rows.size()};
    drawFrame(canvas, random, "Random play: wins in 30 one-minute games", 10);
    drawGuide(canvas, random, rows, 6, 10, 1);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int plays = std::max(1, rows[i].randomPlays);
        const double mashed = 30.0 * rows[i].randomWins / plays;
        const double swept = 30.0 * rows[i].sweepWins / plays;
        const int half = random.columnWidth() / 3;
        if (mashed > 0)
            canvas.box(random.x(i) - half, random.y(mashed), random.x(i), random.y(0), MASHER);
        if (swept > 0)
            canvas.box(random.x(i), random.y(swept), random.x(i) + half, random.y(0), SWEEPER);
    }

    // The puzzle: targets to destroy and the sum of each target's fewest bounces.
    int most = 1;
    std::vector<double> targets, bounces;
    for (const LevelRow& row : rows) {
        int sum = 0;
        for (int fewest : row.bounces)
            sum += std::max(fewest, 0);
        targets.push_back(double(row.bounces.size()));
        bounces.push_back(sum);
        most = std::max({most, sum, int(row.bounces.size())});
    }
    const Panel puzzle{random.top + PANEL_HEIGHT + PANEL_GAP, (most + 1) / 2 * 2, rows.size()};
    drawFrame(canvas, puzzle, "The puzzle: targets, and bounces their shots need in all", 2);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int half = puzzle.columnWidth() / 3;
        canvas.box(puzzle.x(i) - half, puzzle.y(bounces[i]), puzzle.x(i), puzzle.y(0), BOUNCES);
        canvas.box(puzzle.x(i), puzzle.y(targets[i]), puzzle.x(i) + half, puzzle.y(0), TARGETS);
    }
    for (size_t i = 0; i < rows.size(); ++i)
        canvas.text(std::to_string(rows[i].number), puzzle.x(i), puzzle.y(0) + 14, LABEL, true);
    canvas.text("level", LEFT - 52, puzzle.y(0) + 14, LABEL);

    const int legendY = height - 24;
    int legendX = LEFT - 52;
    drawLegend(canvas, legendX, legendY, SLIGHTLY, "6 frames late");
    drawLegend(canvas, legendX, legendY, QUITE, "15 frames late");
    drawLegend(canvas, legendX, legendY, MASHER, "masher wins");
    drawLegend(canvas, legendX, legendY, SWEEPER, "sweeper wins");
    drawLegend(canvas, legendX, legendY, TARGETS, "targets");
    drawLegend(canvas, legendX, legendY, BOUNCES, "bounces");
    drawLegend(canvas, legendX, legendY, TARGET_LINE, "what is asked", true);
    return SDL_SaveBMP(canvas.surface, path) == 0;
}
