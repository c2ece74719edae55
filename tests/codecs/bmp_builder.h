// Builds Windows bitmap files for the tests: headers with any field values, the colour table
// (full for the depth unless colorsUsed gives its length), and the stored rows (in the order
// given) zero-padded to the row size, or run-length data as given.
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
    uint32_t infoSize = 40;        // 52, 56, 108 and 124 carry the masks inside
    std::vector<uint32_t> masks{}; // red, green, blue (alpha); behind a 40-byte header
    uint32_t colorsUsed = 0;
    std::string runLengthData{}; // stored instead of rows
};

inline std::string bmpFile(const BmpLayout& layout) {
    auto put32 = [](std::string& out, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out += static_cast<char>(v >> (8 * i));
        }
    };
    const size_t fullTable = layout.bits == 1   ? 2
                             : layout.bits == 4 ? 16
                             : layout.bits == 8 ? 256
                                                : 0;
    const size_t entries = layout.colorsUsed != 0 ? layout.colorsUsed : fullTable;
    const size_t rowSize =
        static_cast<size_t>(((int64_t{layout.width} * layout.bits + 31) >> 3) & ~3);
    std::string info;
    put32(info, layout.infoSize);
    put32(info, static_cast<uint32_t>(layout.width));
    put32(info, static_cast<uint32_t>(layout.height));
    put32(info, 1u | uint32_t{layout.bits} << 16); // planes, bits per pixel
    put32(info, layout.compression);
    info.append(12, '\0'); // image size, resolution
    put32(info, layout.colorsUsed);
    put32(info, 0);
    for (uint32_t mask : layout.masks) {
        put32(info, mask);
    }
    if (layout.infoSize > 40) {
        info.resize(56, '\0');
        if (layout.infoSize >= 108) {
            put32(info, 0x73524742); // colour space "sRGB"
        }
        info.resize(layout.infoSize, '\0');
    }
    std::string out = "BM";
    put32(out, 0); // file size, set below
    put32(out, 0);
    put32(out, static_cast<uint32_t>(14 + info.size() + 4 * entries));
    out += info;
    for (size_t i = 0; i < entries; ++i) {
        const auto c = i < layout.colors.size() ? layout.colors[i] : std::array<uint8_t, 3>{};
        out.append({static_cast<char>(c[0]), static_cast<char>(c[1]), static_cast<char>(c[2]), 0});
    }
    out += layout.runLengthData;
    for (const auto& row : layout.rows) {
        std::string stored(row.begin(), row.end());
        stored.resize(rowSize, '\0');
        out += stored;
    }
    std::string fileSize;
    put32(fileSize, static_cast<uint32_t>(out.size()));
    return out.replace(2, 4, fileSize);
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
