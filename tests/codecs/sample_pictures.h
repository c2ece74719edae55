// The sample pictures that scripts/make-samples.py writes into samples/: each drawing is stored
// as a 24-bit BMP and as GIF or MAG, so the decoders can be checked against the BMP's pixels.
#pragma once

#include "image/dib_image.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace velmora::test {

// The samples folder, found from the test data folder the test runner names.
inline std::optional<std::filesystem::path> samplesFolder() {
    const char* data = std::getenv("VELMORA_TEST_DATA");
    if (data == nullptr) {
        return std::nullopt;
    }
    // The data folder is tests/data of the source tree, which need not exist itself.
    const auto folder = std::filesystem::path(data).parent_path().parent_path() / "samples";
    if (!std::filesystem::is_directory(folder)) {
        return std::nullopt;
    }
    return folder;
}

inline std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Pixels of an uncompressed bottom-up 24-bit BMP as blue, green, red triplets, top row first.
struct Bmp24 {
    int width = 0, height = 0;
    std::vector<uint8_t> bgr;
};

inline std::optional<Bmp24> readBmp24(const std::filesystem::path& path) {
    const auto bytes = readBytes(path);
    auto le32 = [&](size_t at) {
        return static_cast<int>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                bytes[at + 3] << 24);
    };
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || bytes[28] != 24) {
        return std::nullopt;
    }
    Bmp24 bmp{le32(18), le32(22), {}};
    const size_t rowBytes = (size_t(bmp.width) * 3 + 3) & ~size_t{3};
    const size_t offset = static_cast<size_t>(le32(10));
    if (bmp.width <= 0 || bmp.height <= 0 || bytes.size() < offset + rowBytes * bmp.height) {
        return std::nullopt;
    }
    for (int y = 0; y < bmp.height; ++y) {
        const uint8_t* row = bytes.data() + offset + (bmp.height - 1 - y) * rowBytes;
        bmp.bgr.insert(bmp.bgr.end(), row, row + 3 * bmp.width);
    }
    return bmp;
}

// Number of pixels in the BMP's area where image differs from it.
inline int64_t differingPixels(const image::DibImage& image, const Bmp24& bmp) {
    int64_t differing = 0;
    for (int y = 0; y < bmp.height; ++y) {
        for (int x = 0; x < bmp.width; ++x) {
            const uint8_t* a = image.row(y) + 3 * x;
            const uint8_t* b = bmp.bgr.data() + (size_t(y) * bmp.width + x) * 3;
            differing += (a[0] != b[0] || a[1] != b[1] || a[2] != b[2]) ? 1 : 0;
        }
    }
    return differing;
}

} // namespace velmora::test
