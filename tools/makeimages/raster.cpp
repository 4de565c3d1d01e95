// Sprites drawn smooth and saved hard-edged, and the turns and flips of a finished sprite.
#include "raster.h"

namespace makeimages {

Picture render(int w, int h, int scale, const Design& design, Rgb rim) {
    const int factor = scale * SUPERSAMPLE;
    SDL_Surface* canvas = newCanvas(w * factor, h * factor);
    SDL_FillRect(canvas, nullptr, EMPTY);
    Pen pen(canvas, factor, w / 2.0);
    design(pen);

    Picture pic;
    pic.w = w * scale;
    pic.h = h * scale;
    pic.colour.resize(size_t(pic.w * pic.h));
    pic.cover.resize(size_t(pic.w * pic.h));
    for (int y = 0; y < pic.h; ++y)
        for (int x = 0; x < pic.w; ++x) {
            int count = 0, r = 0, g = 0, b = 0;
            for (int j = 0; j < SUPERSAMPLE; ++j)
                for (int i = 0; i < SUPERSAMPLE; ++i) {
                    Uint32 v = pixel(canvas, x * SUPERSAMPLE + i, y * SUPERSAMPLE + j);
                    if (v == EMPTY)
                        continue;
                    Rgb c = unpack(v);
                    ++count;
                    r += c.r;
                    g += c.g;
                    b += c.b;
                }
            size_t k = size_t(y * pic.w + x);
            pic.cover[k] = count;
            pic.colour[k] = count ? Rgb{r / count, g / count, b / count} : Rgb{0, 0, 0};
        }
    SDL_FreeSurface(canvas);

    // Rim: solid pixels within `scale` steps of the outside, and the partly covered ones.
    std::vector<int> distance(pic.colour.size(), 0);
    for (int y = 0; y < pic.h; ++y)
        for (int x = 0; x < pic.w; ++x)
            distance[size_t(y * pic.w + x)] = pic.solid(x, y) ? 1 << 20 : 0;
    for (int pass = 1; pass <= scale; ++pass)
        for (int y = 0; y < pic.h; ++y)
            for (int x = 0; x < pic.w; ++x) {
                size_t k = size_t(y * pic.w + x);
                if (distance[k] <= pass)
                    continue;
                const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
                for (int n = 0; n < 4; ++n) {
                    int nx = x + dx[n], ny = y + dy[n];
                    bool outside = nx < 0 || ny < 0 || nx >= pic.w || ny >= pic.h ||
                                   distance[size_t(ny * pic.w + nx)] < pass;
                    if (outside)
                        distance[k] = pass;
                }
            }
    for (size_t k = 0; k < distance.size(); ++k) {
        if (pic.cover[k] == 0)
            continue;
        if (distance[k] <= scale)
            pic.colour[k] = mix(pic.colour[k], rim, 0.5);
    }
    return pic;
}

SDL_Surface* toSprite(const Picture& pic) {
    SDL_Surface* s = newCanvas(pic.w, pic.h);
    for (int y = 0; y < pic.h; ++y)
        for (int x = 0; x < pic.w; ++x)
            pixel(s, x, y) =
                pic.solid(x, y) ? pack(capped(pic.colour[size_t(y * pic.w + x)])) : TRANSPARENT;
    return s;
}

void composite(SDL_Surface* screen, const Picture& pic, int left, int top) {
    for (int y = 0; y < pic.h; ++y)
        for (int x = 0; x < pic.w; ++x) {
            size_t k = size_t(y * pic.w + x);
            blendPixel(screen, left + x, top + y, pic.colour[k], double(pic.cover[k]) / FULL_COVER);
        }
}

SDL_Surface* rotated(SDL_Surface* src, int turns) {
    SDL_Surface* cur = newCanvas(src->w, src->h);
    SDL_BlitSurface(src, nullptr, cur, nullptr);
    for (int t = 0; t < turns; ++t) {
        SDL_Surface* next = newCanvas(cur->h, cur->w);
        for (int y = 0; y < cur->h; ++y)
            for (int x = 0; x < cur->w; ++x)
                pixel(next, cur->h - 1 - y, x) = pixel(cur, x, y);
        SDL_FreeSurface(cur);
        cur = next;
    }
    return cur;
}

SDL_Surface* flippedVertically(SDL_Surface* src) {
    SDL_Surface* s = newCanvas(src->w, src->h);
    for (int y = 0; y < src->h; ++y)
        for (int x = 0; x < src->w; ++x)
            pixel(s, x, src->h - 1 - y) = pixel(src, x, y);
    return s;
}

}  // namespace makeimages
