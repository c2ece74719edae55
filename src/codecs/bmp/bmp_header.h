// The headers at the start of a Windows bitmap file: the 14-byte file header, then an
// information header of 40 bytes or one of the larger Windows versions (52, 56, 108 or 124
// bytes, which carry the colour masks), all little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace velmora::codecs::bmp {

inline constexpr size_t kFileHeaderSize = 14;
inline constexpr size_t kInfoHeaderSize = 40;
inline constexpr size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize; // 54
inline constexpr size_t kMaxHeadersSize = kFileHeaderSize + 124;
inline constexpr uint16_t kSignature = 0x4D42; // "BM"

enum Compression : uint32_t { kUncompressed = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

struct ChannelMasks {
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
};

// The fields the reader looks at.
struct BmpInfo {
    uint16_t signature = 0;
    uint32_t dataOffset = 0;
    uint32_t infoSize = 0;
    int32_t width = 0;
    int32_t height = 0; // negative: rows stored top row first
    uint16_t bitsPerPixel = 0;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    // Inside an information header of 52 bytes or more; behind a 40-byte one when the
    // compression is kBitfields. Either way they lie at file offsets 54 to 65.
    ChannelMasks masks;
};

// Parses the headers held in bytes (at least kHeadersSize); masks stay 0 unless bytes reach them.
BmpInfo parseHeaders(std::span<const uint8_t> bytes);

// Header bytes of the file, from the first 54 parsed: the whole information header when its
// size is one of the larger Windows versions, plus the three masks behind a 40-byte header when
// the compression is kBitfields. Any other size field is read as 40 bytes.
size_t headerBytesFor(const BmpInfo& info);

// Headers of an uncompressed, bottom-up 24-bit file with rows of rowBytes bytes.
std::array<uint8_t, kHeadersSize> makeHeaders24(int32_t width, int32_t height, uint32_t rowBytes);

// Bytes per stored row: bitsPerPixel bits a pixel, rounded up to a multiple of 4 bytes.
constexpr uint64_t rowBytesFor(uint32_t width, uint32_t bitsPerPixel) {
    return ((uint64_t{width} * bitsPerPixel + 31) >> 3) & ~uint64_t{3};
}

} // namespace velmora::codecs::bmp
