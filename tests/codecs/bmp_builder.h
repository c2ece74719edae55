// Builds Windows bitmap files byte by byte for the tests: headers with any field values, the
// full colour table of the depth, and stored rows padded to the row size.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace velmora::test {

class BmpBuilder {
  public:
    BmpBuilder(int32_t width, int32_t height, uint16_t bitsPerPixel)
        : width_(width), height_(height), bits_(bitsPerPixel), palette_(bitsPerPixel == 1   ? 2
                                                                        : bitsPerPixel == 4 ? 16
                                                                        : bitsPerPixel == 8 ? 256
                                                                                            : 0) {}

    BmpBuilder& compression(uint32_t value) {
        compression_ = value;
        return *this;
    }
    BmpBuilder& color(int index, uint8_t blue, uint8_t green, uint8_t red) {
        palette_.at(index) = {blue, green, red, 0};
        return *this;
    }
    // One stored row (bottom row first), zero-padded to the row size.
    BmpBuilder& row(std::initializer_list<uint8_t> bytes) {
        std::string stored(bytes.begin(), bytes.end());
        stored.resize(rowSize(), '\0');
        rows_ += stored;
        return *this;
    }
    size_t rowSize() const {
        return static_cast<size_t>(((int64_t{width_} * bits_ + 31) >> 3) & ~int64_t{3});
    }

    std::string bytes() const {
        std::string out;
        out += "BM";
        put32(out, static_cast<uint32_t>(54 + 4 * palette_.size() + rows_.size()));
        put32(out, 0);
        put32(out, static_cast<uint32_t>(54 + 4 * palette_.size()));
        put32(out, 40);
        put32(out, static_cast<uint32_t>(width_));
        put32(out, static_cast<uint32_t>(height_));
        put16(out, 1);
        put16(out, bits_);
        put32(out, compression_);
        for (int i = 0; i < 5; ++i) {
            put32(out, 0);
        }
        for (const auto& entry : palette_) {
            out.append(reinterpret_cast<const char*>(entry.data()), entry.size());
        }
        return out + rows_;
    }

  private:
    static void put16(std::string& out, uint16_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>(v >> 8);
    }
    static void put32(std::string& out, uint32_t v) {
        put16(out, static_cast<uint16_t>(v & 0xFFFF));
        put16(out, static_cast<uint16_t>(v >> 16));
    }

    int32_t width_;
    int32_t height_;
    uint16_t bits_;
    uint32_t compression_ = 0;
    std::vector<std::array<uint8_t, 4>> palette_;
    std::string rows_;
};

} // namespace velmora::test
