// Lettering on the full-window screens, on SDL_ttf's blended text.
#include "screentext.h"

#include <SDL_gfxPrimitives.h>

#include <algorithm>
#include <functional>

#include "failure.h"
#include "fonts.h"

namespace makeimages {

int textWidth(TTF_Font* font, const std::string& text) {
    int w = 0, h = 0;
    TTF_SizeUTF8(font, text.c_str(), &w, &h);
    return w;
}

Mask textMask(TTF_Font* font, const std::string& text) {
    SDL_Surface* t = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 0});
    if (t == nullptr)
        fail("cannot render \"" + text + "\"");
    Mask m{t->w, t->h, std::vector<double>(size_t(t->w * t->h))};
    SDL_LockSurface(t);
    for (int y = 0; y < t->h; ++y)
        for (int x = 0; x < t->w; ++x) {
            Uint8 r, g, b, a;
            SDL_GetRGBA(pixel(t, x, y), t->format, &r, &g, &b, &a);
            m.alpha[size_t(y * t->w + x)] = a / 255.0;
        }
    SDL_UnlockSurface(t);
    SDL_FreeSurface(t);
    return m;
}

namespace {

// Lays the mask at (left, top) in a colour that may change from its top row (0) to below its
// bottom row (1).
void paintMask(SDL_Surface* s, const Mask& m, int left, int top,
               const std::function<Rgb(double)>& colourAtHeight, double strength = 1.0) {
    for (int y = 0; y < m.h; ++y) {
        Rgb c = colourAtHeight(double(y) / m.h);
        for (int x = 0; x < m.w; ++x)
            blendPixel(s, left + x, top + y, c, m.alpha[size_t(y * m.w + x)] * strength);
    }
}

// A key drawn as a key cap; returns its width.
int keyCap(SDL_Surface* s, int x, int y, const std::string& label, bool measureOnly) {
    TTF_Font* font = bold(19);
    int w = std::max(36, textWidth(font, label) + 20), h = 34;
    if (measureOnly)
        return w;
    roundedBoxRGBA(s, Sint16(x), Sint16(y + 3), Sint16(x + w - 1), Sint16(y + h + 2), 7, 14, 18, 34,
                   255);
    roundedBoxRGBA(s, Sint16(x), Sint16(y), Sint16(x + w - 1), Sint16(y + h - 1), 7, 66, 78, 112,
                   255);
    roundedBoxRGBA(s, Sint16(x + 2), Sint16(y + 2), Sint16(x + w - 3), Sint16(y + h - 5), 6, 48, 58,
                   88, 255);
    text(s, font, label, x + w / 2, y + 5, {236, 240, 248});
    return w;
}

}  // namespace

int text(SDL_Surface* s, TTF_Font* font, const std::string& str, int x, int y, Rgb colour,
         Align align) {
    Mask m = textMask(font, str);
    int left = align == Align::Centre ? x - m.w / 2 : x;
    paintMask(
        s, m, left + 2, y + 2,
        [](double) {
            return Rgb{0, 0, 0};
        },
        0.8);
    paintMask(s, m, left, y, [colour](double) { return colour; });
    return m.w;
}

void heading(SDL_Surface* s, TTF_Font* font, const std::string& str, int centreX, int y, Rgb top,
             Rgb bottom, Rgb glow) {
    Mask m = textMask(font, str);
    const int pad = 18;
    Mask halo{m.w + 2 * pad, m.h + 2 * pad,
              std::vector<double>(size_t((m.w + 2 * pad) * (m.h + 2 * pad)))};
    for (int yy = 0; yy < m.h; ++yy)
        for (int xx = 0; xx < m.w; ++xx)
            halo.alpha[size_t((yy + pad) * halo.w + xx + pad)] = m.alpha[size_t(yy * m.w + xx)];
    // Three box blurs come close to a gaussian glow.
    for (int pass = 0; pass < 3; ++pass)
        for (int horizontal = 0; horizontal < 2; ++horizontal) {
            std::vector<double> out(halo.alpha.size(), 0.0);
            const int radius = 5;
            for (int yy = 0; yy < halo.h; ++yy)
                for (int xx = 0; xx < halo.w; ++xx) {
                    double sum = 0;
                    for (int d = -radius; d <= radius; ++d) {
                        int sx = horizontal ? xx + d : xx, sy = horizontal ? yy : yy + d;
                        if (sx >= 0 && sy >= 0 && sx < halo.w && sy < halo.h)
                            sum += halo.alpha[size_t(sy * halo.w + sx)];
                    }
                    out[size_t(yy * halo.w + xx)] = sum / (2 * radius + 1);
                }
            halo.alpha = out;
        }
    int left = centreX - m.w / 2;
    paintMask(
        s, halo, left - pad, y - pad, [glow](double) { return glow; }, 0.9);
    paintMask(
        s, m, left + 3, y + 3,
        [](double) {
            return Rgb{0, 0, 0};
        },
        0.6);
    paintMask(s, m, left, y, [top, bottom](double t) { return mix(top, bottom, t); });
}

int keyLine(SDL_Surface* s, int x, int y, const std::string& line, Align align, int size,
            bool measureOnly) {
    if (align == Align::Centre && !measureOnly) {
        int w = keyLine(s, 0, 0, line, Align::Left, size, true);
        return keyLine(s, x - w / 2, y, line, Align::Left, size, false);
    }
    TTF_Font* font = regular(size);
    int cursor = x;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == '[') {
            size_t end = line.find(']', i);
            cursor += keyCap(s, cursor, y, line.substr(i + 1, end - i - 1), measureOnly);
            i = end + 1;
            cursor += i < line.size() && line[i] == ',' ? 2 : 8;
            continue;
        }
        size_t end = line.find('[', i);
        std::string words = line.substr(i, end == std::string::npos ? std::string::npos : end - i);
        if (!measureOnly)
            text(s, font, words, cursor, y + 17 - TTF_FontHeight(font) / 2, {206, 214, 232},
                 Align::Left);
        cursor += textWidth(font, words);
        i = end == std::string::npos ? line.size() : end;
    }
    return cursor - x;
}

}  // namespace makeimages
