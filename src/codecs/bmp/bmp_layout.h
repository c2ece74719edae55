// Where the colour table and the pixels of a bitmap file lie and how the pixels are stored,
// decided from the headers and the file size before anything is allocated.
#pragma once

#include "codecs/bmp/bmp_header.h"

#include <cstdint>
#include <optional>

namespace velmora::codecs::bmp {

enum class PixelCoding {
    Indexed, // 1, 4 or 8 bits, palette indices
    Bgr555,  // 16 bits, 5 each of blue green red and an unused bit
    Bgr,     // 24 bits, blue green red
    Bgrx,    // 32 bits, blue green red and an unused byte
    Masked,  // 16 or 32 bits through colour masks
    Rle8,
    Rle4,
};

struct BmpLayout {
    int32_t width = 0;
    int32_t height = 0; // rows, always positive
    bool topDown = false;
    int bitsPerPixel = 0;
    PixelCoding coding = PixelCoding::Bgr;
    ChannelMasks masks;        // for Masked
    uint64_t tableOffset = 0;  // the colour table follows the headers
    uint32_t tableEntries = 0; // 4 bytes each: blue, green, red, unused
    uint64_t pixelOffset = 0;
    uint64_t rowBytes = 0; // of uncompressed rows
};

// The layout of a file of fileSize bytes, or nothing when the reader does not take it: a size
// below 1, a depth or compression it does not know, masks that are not runs of bits inside the
// pixel, compressed rows stored top-down, or a file too short for the table and every
// uncompressed row.
//
// The pixels start at the header's data offset when that lies behind the colour table and the
// rows fit from there; otherwise directly behind the table. The table holds the full 2^bits
// entries unless the colours-used field gives fewer and the data offset confirms the shorter
// table. So a plain file (40-byte header, full table, rows straight behind) reads the same
// whatever its data offset and colours-used fields say.
std::optional<BmpLayout> planLayout(const BmpInfo& info, uint64_t fileSize);

} // namespace velmora::codecs::bmp
