// The picture maker's files: the game's 16-bit BMPs read back through SDL with the pixels that
// were drawn, the icons' PNG files read back through zlib likewise, and a missing font named
// with the way to provide it.
#include <SDL.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "bmpfile.h"
#include "canvas.h"
#include "fonts.h"
#include "pngfile.h"
#include "testutil.h"

namespace {

using makeimages::pack;
using makeimages::pixel;
using makeimages::Rgb;

Uint16 as565(Rgb c) {
    return Uint16((c.r >> 3) << 11 | (c.g >> 2) << 5 | (c.b >> 3));
}

// Pure white must stay the colour key; the others have low bits the display drops, and each
// row differs so that rows read back upside down show.
const Rgb DRAWN[2][3] = {{{255, 255, 255}, {18, 52, 86}, {7, 3, 7}},
                         {{250, 128, 9}, {0, 0, 0}, {131, 255, 64}}};

TEST(PictureFiles, GamePicturesReadBackWithTheDrawnColoursAtTheDisplaysDepth) {
    // Three pixels make six bytes a row: the file pads each row to eight.
    SDL_Surface* canvas = makeimages::newCanvas(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            pixel(canvas, x, y) = pack(DRAWN[y][x]);
    std::vector<Uint8> file = makeimages::bmp565File(canvas);
    SDL_FreeSurface(canvas);

    Uint32 declaredSize = 0;
    std::memcpy(&declaredSize, file.data() + 2, 4);
    EXPECT_EQ(declaredSize, file.size());
    SDL_Surface* read = SDL_LoadBMP_RW(SDL_RWFromMem(file.data(), int(file.size())), 1);
    ASSERT_NE(read, nullptr) << SDL_GetError();
    ASSERT_EQ(read->format->BitsPerPixel, 16);
    EXPECT_EQ(read->format->Rmask, 0xF800u);
    EXPECT_EQ(read->format->Gmask, 0x07E0u);
    EXPECT_EQ(read->format->Bmask, 0x001Fu);
    ASSERT_EQ(read->w, 3);
    ASSERT_EQ(read->h, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const Uint16 value = reinterpret_cast<const Uint16*>(static_cast<Uint8*>(read->pixels) +
                                                                 y * read->pitch)[x];
            EXPECT_EQ(value, as565(DRAWN[y][x])) << "pixel " << x << ", " << y;
        }
    EXPECT_EQ(as565(DRAWN[0][0]), 0xFFFF);
    SDL_FreeSurface(read);
}

TEST(PictureFiles, APictureThatCannotBeWrittenEndsWithItsPath) {
    SDL_Surface* canvas = makeimages::newCanvas(2, 2);
    EXPECT_EXIT(makeimages::saveBmp565(canvas, "/nonexistent-folder/picture.bmp"),
                ::testing::ExitedWithCode(1),
                "makeimages: cannot write /nonexistent-folder/picture.bmp");
    SDL_FreeSurface(canvas);
}

// A minimal PNG reader: the chunks in order with their CRCs checked, the header's fields, and
// the rows inflated.
struct ReadPng {
    Uint32 w = 0, h = 0;
    std::vector<Uint8> header;
    std::vector<Uint8> rows;
};

Uint32 bigEndian(const Uint8* p) {
    return Uint32(p[0]) << 24 | Uint32(p[1]) << 16 | Uint32(p[2]) << 8 | Uint32(p[3]);
}

// What is wrong with the file, or nothing.
std::string readPng(const std::vector<Uint8>& file, ReadPng& png) {
    const Uint8 signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || std::memcmp(file.data(), signature, 8) != 0)
        return "no PNG signature";
    std::vector<std::string> types;
    std::vector<Uint8> packed;
    for (size_t at = 8; at < file.size();) {
        if (at + 12 > file.size())
            return "a chunk runs past the end";
        const Uint32 length = bigEndian(&file[at]);
        if (at + 12 + length > file.size())
            return "a chunk runs past the end";
        const Uint8* body = &file[at + 4];
        const std::string type(reinterpret_cast<const char*>(body), 4);
        if (bigEndian(body + 4 + length) != crc32(0, body, uInt(4 + length)))
            return "the CRC of " + type + " is wrong";
        types.push_back(type);
        if (type == "IHDR")
            png.header.assign(body + 4, body + 4 + length);
        if (type == "IDAT")
            packed.insert(packed.end(), body + 4, body + 4 + length);
        at += 12 + length;
    }
    if (types != std::vector<std::string>{"IHDR", "IDAT", "IEND"})
        return "the chunks are not IHDR, IDAT, IEND";
    if (png.header.size() != 13)
        return "the header is not 13 bytes";
    png.w = bigEndian(&png.header[0]);
    png.h = bigEndian(&png.header[4]);
    png.rows.resize(size_t(png.h) * (1 + 4 * size_t(png.w)));
    uLongf rowBytes = uLongf(png.rows.size());
    if (uncompress(png.rows.data(), &rowBytes, packed.data(), uLong(packed.size())) != Z_OK ||
        rowBytes != png.rows.size())
        return "the rows do not inflate to the picture's size";
    return "";
}

TEST(PictureFiles, IconsReadBackWithTheirSizeAndEveryPixel) {
    // Wider than high, so that a width and height swapped show; the alpha runs from clear to
    // opaque.
    const int w = 3, h = 2;
    std::vector<Uint8> rgba;
    for (int i = 0; i < w * h; ++i)
        rgba.insert(rgba.end(), {Uint8(40 * i), Uint8(255 - i), Uint8(i * i), Uint8(51 * i)});
    ReadPng png;
    ASSERT_EQ(readPng(makeimages::pngFile(w, h, rgba), png), "");
    EXPECT_EQ(png.w, Uint32(w));
    EXPECT_EQ(png.h, Uint32(h));
    EXPECT_EQ(png.header[8], 8) << "8 bits a channel";
    EXPECT_EQ(png.header[9], 6) << "RGBA";
    EXPECT_EQ(png.header[12], 0) << "no interlace";
    for (int y = 0; y < h; ++y) {
        const Uint8* row = &png.rows[size_t(y) * (1 + 4 * w)];
        EXPECT_EQ(row[0], 0) << "row " << y << " is not left unfiltered";
        EXPECT_EQ(std::vector<Uint8>(row + 1, row + 1 + 4 * w),
                  std::vector<Uint8>(rgba.begin() + 4 * w * y, rgba.begin() + 4 * w * (y + 1)))
            << "row " << y;
    }
}

TEST(PictureFiles, AMissingFontIsNamedWithTheSettingThatFindsIt) {
    ScratchDir fonts;
    std::string problem = makeimages::missingFont(fonts.path());
    EXPECT_NE(problem.find(fonts.path() + "/DejaVuSans.ttf"), std::string::npos) << problem;
    EXPECT_NE(problem.find("SKARLUME_FONT_DIR"), std::string::npos) << problem;
    EXPECT_NE(problem.find("fonts-dejavu-core"), std::string::npos) << problem;

    // Every face counts, the editor's monospaced one too.
    fonts.write("DejaVuSans.ttf", "");
    fonts.write("DejaVuSans-Bold.ttf", "");
    problem = makeimages::missingFont(fonts.path());
    EXPECT_NE(problem.find(fonts.path() + "/DejaVuSansMono.ttf"), std::string::npos) << problem;

    fonts.write("DejaVuSansMono.ttf", "");
    EXPECT_EQ(makeimages::missingFont(fonts.path()), "");
}

}  // namespace
