// Small 24-bit BMP files for the browsing tests: one uniform shade per picture, so a test can
// tell from one pixel which file an image holds.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::test {

inline void putLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A bottom-up 24-bit BMP of width x height whose every byte of pixel data is shade.
inline std::string solidBmp(int width, int height, uint8_t shade) {
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = stride * static_cast<uint32_t>(height);
    std::string out = "BM";
    putLittleEndian(out, 54 + pixelBytes, 4); // file size
    putLittleEndian(out, 0, 4);               // reserved
    putLittleEndian(out, 54, 4);              // offset of the pixels
    putLittleEndian(out, 40, 4);              // info header size
    putLittleEndian(out, static_cast<uint32_t>(width), 4);
    putLittleEndian(out, static_cast<uint32_t>(height), 4);
    putLittleEndian(out, 1, 2);  // planes
    putLittleEndian(out, 24, 2); // bits per pixel
    putLittleEndian(out, 0, 4);  // no compression
    putLittleEndian(out, pixelBytes, 4);
    putLittleEndian(out, 2835, 4); // 72 dpi
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, 0, 4); // colours used
    putLittleEndian(out, 0, 4); // important colours
    for (int y = 0; y < height; ++y) {
        out.append(static_cast<size_t>(width) * 3, static_cast<char>(shade));
        out.append(stride - static_cast<size_t>(width) * 3, '\0');
    }
    return out;
}

} // namespace velmora::test
