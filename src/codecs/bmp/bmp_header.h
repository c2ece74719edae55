// The two headers at the start of a Windows bitmap file: the 14-byte file header and the
// 40-byte information header, little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace velmora::codecs::bmp {

inline constexpr size_t kFileHeaderSize = 14;
inline constexpr size_t kInfoHeaderSize = 40;
inline constexpr size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize; // 54
inline constexpr uint16_t kSignature = 0x4D42;                            // "BM"

// The fields the reader looks at.
struct BmpInfo {
    uint16_t signature = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitsPerPixel = 0;
    uint32_t compression = 0;
};

BmpInfo parseHeaders(const std::array<uint8_t, kHeadersSize>& bytes);

// Headers of an uncompressed, bottom-up 24-bit file with rows of rowBytes bytes.
std::array<uint8_t, kHeadersSize> makeHeaders24(int32_t width, int32_t height, uint32_t rowBytes);

// Bytes per stored row: bitsPerPixel bits a pixel, rounded up to a multiple of 4 bytes.
constexpr uint64_t rowBytesFor(uint32_t width, uint32_t bitsPerPixel) {
    return ((uint64_t{width} * bitsPerPixel + 31) >> 3) & ~uint64_t{3};
}

} // namespace velmora::codecs::bmp
