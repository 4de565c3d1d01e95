// PNG files of 8-bit RGBA pixels: signature, header, the rows deflated by zlib (each led by
// filter type 0, none), and the end mark; every chunk carries its CRC.
#include "pngfile.h"

#include <zlib.h>

#include "failure.h"

namespace makeimages {

std::vector<Uint8> pngFile(int w, int h, const std::vector<Uint8>& rgba) {
    std::vector<Uint8> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto put32 = [](std::vector<Uint8>& bytes, Uint32 v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(Uint8(v >> shift));
    };
    auto chunk = [&](const char* type, const std::vector<Uint8>& data) {
        put32(file, Uint32(data.size()));
        std::vector<Uint8> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        file.insert(file.end(), body.begin(), body.end());
        put32(file, Uint32(crc32(0, body.data(), uInt(body.size()))));
    };
    std::vector<Uint8> header;
    put32(header, Uint32(w));
    put32(header, Uint32(h));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits a channel, RGBA, no interlace
    chunk("IHDR", header);
    std::vector<Uint8> rows;
    const size_t rowBytes = size_t(w) * 4;
    for (size_t y = 0; y < size_t(h); ++y) {
        rows.push_back(0);
        rows.insert(rows.end(), rgba.begin() + long(y * rowBytes),
                    rgba.begin() + long((y + 1) * rowBytes));
    }
    uLongf packedBytes = compressBound(uLong(rows.size()));
    std::vector<Uint8> packed(packedBytes);
    const int result = compress2(packed.data(), &packedBytes, rows.data(), uLong(rows.size()), 9);
    if (result != Z_OK)
        failBecause("cannot compress a PNG file", zError(result));
    packed.resize(packedBytes);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return file;
}

}  // namespace makeimages
