#include "codecs/bmp/bmp_header.h"

namespace velmora::codecs::bmp {
namespace {

uint32_t readLe32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

uint16_t readLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

void writeLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

void writeLe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

} // namespace

BmpInfo parseHeaders(std::span<const uint8_t> bytes) {
    const uint8_t* info = bytes.data() + kFileHeaderSize;
    BmpInfo result;
    result.signature = readLe16(bytes.data());
    result.dataOffset = readLe32(bytes.data() + 10);
    result.infoSize = readLe32(info);
    result.width = static_cast<int32_t>(readLe32(info + 4));
    result.height = static_cast<int32_t>(readLe32(info + 8));
    result.bitsPerPixel = readLe16(info + 14);
    result.compression = readLe32(info + 16);
    result.colorsUsed = readLe32(info + 32);
    if (bytes.size() >= kHeadersSize + 12) {
        result.masks = {readLe32(info + 40), readLe32(info + 44), readLe32(info + 48)};
    }
    return result;
}

size_t headerBytesFor(const BmpInfo& info) {
    switch (info.infoSize) {
    case 52:
    case 56:
    case 108:
    case 124:
        return kFileHeaderSize + info.infoSize;
    default:
        return info.compression == kBitfields ? kHeadersSize + 12 : kHeadersSize;
    }
}

std::array<uint8_t, kHeadersSize> makeHeaders24(int32_t width, int32_t height, uint32_t rowBytes) {
    std::array<uint8_t, kHeadersSize> bytes{}; // reserved, sizes and colour counts stay 0
    writeLe16(bytes.data(), kSignature);
    writeLe32(bytes.data() + 2, static_cast<uint32_t>(height) * rowBytes + kHeadersSize);
    writeLe32(bytes.data() + 10, kHeadersSize);
    uint8_t* info = bytes.data() + kFileHeaderSize;
    writeLe32(info, kInfoHeaderSize);
    writeLe32(info + 4, static_cast<uint32_t>(width));
    writeLe32(info + 8, static_cast<uint32_t>(height));
    writeLe16(info + 12, 1);
    writeLe16(info + 14, 24);
    return bytes;
}

} // namespace velmora::codecs::bmp
