// The game's picture files, as 16-bit 5-6-5 BMPs with bottom-up rows.
#include "bmpfile.h"

#include "failure.h"
#include "files.h"

namespace makeimages {

std::vector<Uint8> bmp565File(SDL_Surface* canvas) {
    // SDL's blit to a 5-6-5 surface drops each channel's low bits, as the display does.
    SDL_Surface* packed =
        SDL_CreateRGBSurface(SDL_SWSURFACE, canvas->w, canvas->h, 16, 0xF800, 0x07E0, 0x001F, 0);
    if (packed == nullptr)
        fail("cannot make a 16-bit picture");
    SDL_BlitSurface(canvas, nullptr, packed, nullptr);
    const int rowBytes = (canvas->w * 2 + 3) / 4 * 4;
    const Uint32 headerBytes = 14 + 40 + 12, imageBytes = Uint32(rowBytes) * Uint32(canvas->h);
    std::vector<Uint8> file;
    auto put16 = [&file](Uint32 v) {
        file.push_back(Uint8(v));
        file.push_back(Uint8(v >> 8));
    };
    auto put32 = [&put16](Uint32 v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    file.push_back('B');
    file.push_back('M');
    put32(headerBytes + imageBytes);
    put32(0);
    put32(headerBytes);
    put32(40);  // BITMAPINFOHEADER
    put32(Uint32(canvas->w));
    put32(Uint32(canvas->h));  // bottom-up rows
    put16(1);
    put16(16);
    put32(3);  // BI_BITFIELDS: the three masks follow the header
    put32(imageBytes);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    put32(0xF800);
    put32(0x07E0);
    put32(0x001F);
    for (int y = canvas->h - 1; y >= 0; --y) {
        const Uint16* row = reinterpret_cast<const Uint16*>(
            static_cast<const Uint8*>(packed->pixels) + y * packed->pitch);
        for (int x = 0; x < canvas->w; ++x)
            put16(row[x]);
        file.resize(file.size() + size_t(rowBytes - canvas->w * 2), 0);
    }
    SDL_FreeSurface(packed);
    return file;
}

void saveBmp565(SDL_Surface* canvas, const std::string& path) {
    writeFile(path, bmp565File(canvas));
}

}  // namespace makeimages
