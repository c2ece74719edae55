// Builds Windows bitmap files for the tests: headers with any field values, the full colour
// table of the depth, and the stored rows (bottom row first) zero-padded to the row size.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test {

struct BmpLayout {
    int32_t width;
    int32_t height;
    uint16_t bits;
    std::vector<std::array<uint8_t, 3>> colors{}; // first table entries, blue green red
    std::vector<std::vector<uint8_t>> rows{};
    uint32_t compression = 0;
};

inline std::string bmpFile(const BmpLayout& layout) {
    auto put32 = [](std::string& out, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out += static_cast<char>(v >> (8 * i));
        }
    };
    const size_t entries = layout.bits == 1   ? 2
                           : layout.bits == 4 ? 16
                           : layout.bits == 8 ? 256
                                              : 0;
    const size_t rowSize =
        static_cast<size_t>(((int64_t{layout.width} * layout.bits + 31) >> 3) & ~3);
    std::string out = "BM";
    put32(out, 0); // file size: not read
    put32(out, 0);
    put32(out, static_cast<uint32_t>(54 + 4 * entries));
    put32(out, 40);
    put32(out, static_cast<uint32_t>(layout.width));
    put32(out, static_cast<uint32_t>(layout.height));
    put32(out, 1u | uint32_t{layout.bits} << 16); // planes, bits per pixel
    put32(out, layout.compression);
    out.append(20, '\0');
    for (size_t i = 0; i < entries; ++i) {
        const auto c = i < layout.colors.size() ? layout.colors[i] : std::array<uint8_t, 3>{};
        out.append({static_cast<char>(c[0]), static_cast<char>(c[1]), static_cast<char>(c[2]), 0});
    }
    for (const auto& row : layout.rows) {
        std::string stored(row.begin(), row.end());
        stored.resize(rowSize, '\0');
        out += stored;
    }
    return out;
}

// A 24-bit bitmap of one colour.
inline std::string solidBmp(int32_t width, int32_t height, uint8_t blue, uint8_t green,
                            uint8_t red) {
    std::vector<uint8_t> row;
    for (int32_t x = 0; x < width; ++x) {
        row.insert(row.end(), {blue, green, red});
    }
    return bmpFile({width, height, 24, {}, std::vector<std::vector<uint8_t>>(height, row)});
}

} // namespace velmora::test
