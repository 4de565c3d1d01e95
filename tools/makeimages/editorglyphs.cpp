// The editor's glyph sheet, laid out as the editor reads it (glyphsheet.h).
#include "editorglyphs.h"

#include <algorithm>
#include <string>

#include "canvas.h"
#include "fonts.h"
#include "glyphsheet.h"
#include "screentext.h"

namespace makeimages {

SDL_Surface* editorGlyphSheet() {
    TTF_Font* mono = font(Face::Mono, 12);
    int advance = 0;
    TTF_GlyphMetrics(mono, 'M', nullptr, nullptr, nullptr, nullptr, &advance);
    const int cellW = advance, cellH = TTF_FontHeight(mono);
    SDL_Surface* sheet = newCanvas(cellW * GLYPH_COUNT, cellH * INK_COUNT);
    SDL_FillRect(sheet, nullptr, 0);
    SDL_LockSurface(sheet);
    for (int index = 0; index < GLYPH_COUNT; ++index) {
        const char glyph = char(GLYPH_FIRST + index);
        if (glyph == ' ')
            continue;
        const Mask mask = textMask(mono, std::string(1, glyph));
        for (int ink = 0; ink < INK_COUNT; ++ink) {
            const Rgb colour = {INK_COLOURS[ink][0], INK_COLOURS[ink][1], INK_COLOURS[ink][2]};
            for (int y = 0; y < std::min(mask.h, cellH); ++y)
                for (int x = 0; x < std::min(mask.w, cellW); ++x)
                    blendPixel(sheet, index * cellW + x, ink * cellH + y, colour,
                               mask.alpha[size_t(y * mask.w + x)]);
        }
    }
    SDL_UnlockSurface(sheet);
    return sheet;
}

}  // namespace makeimages
