// Makes GIF files for the tests: a block-by-block writer and an LZW encoder of its own.
#pragma once

#include "codecs/byte_reader.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::test {

struct Rgb {
    uint8_t red = 0, green = 0, blue = 0;
};

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    std::vector<uint8_t> indices; // width x height, top row first
    std::vector<Rgb> localTable;  // empty: none; otherwise 2, 4, ... 256 entries
    int codeSize = 0;             // 0: from the colour count, at least 2
    bool clearWhenFull = true;    // false: keep the full table and go on without new codes
};

// The data sub-blocks of the LZW code stream for indices (clear code first, end code last).
inline std::string gifLzwSubBlocks(const std::vector<uint8_t>& indices, int codeSize,
                                   bool clearWhenFull = true) {
    const int clear = 1 << codeSize;
    std::string packed;
    uint32_t bitBuffer = 0;
    int bitCount = 0;
    int width = codeSize + 1;
    auto putCode = [&](int code) {
        bitBuffer |= static_cast<uint32_t>(code) << bitCount;
        bitCount += width;
        while (bitCount >= 8) {
            packed.push_back(static_cast<char>(bitBuffer & 0xFF));
            bitBuffer >>= 8;
            bitCount -= 8;
        }
    };
    std::vector<uint16_t> child(4096 * 256, 0); // (prefix code, byte) -> code, 0 for none
    int nextCode = clear + 2;
    auto reset = [&] {
        std::fill(child.begin(), child.end(), 0);
        nextCode = clear + 2;
        width = codeSize + 1;
    };
    putCode(clear);
    int current = -1;
    for (const uint8_t pixel : indices) {
        if (current < 0) {
            current = pixel;
            continue;
        }
        const uint16_t found = child[current * 256 + pixel];
        if (found != 0) {
            current = found;
            continue;
        }
        putCode(current);
        if (nextCode < 4096) {
            child[current * 256 + pixel] = static_cast<uint16_t>(nextCode);
            if (nextCode == (1 << width) && width < 12) {
                ++width;
            }
            ++nextCode;
        } else if (clearWhenFull) {
            putCode(clear);
            reset();
        }
        current = pixel;
    }
    if (current >= 0) {
        putCode(current);
        // The decoder defines one more code for this one; follow its width change.
        if (nextCode < 4096 && nextCode == (1 << width) && width < 12) {
            ++width;
        }
    }
    putCode(clear + 1);
    if (bitCount > 0) {
        packed.push_back(static_cast<char>(bitBuffer & 0xFF));
    }
    std::string blocks;
    for (size_t pos = 0; pos < packed.size(); pos += 255) {
        const size_t length = std::min<size_t>(255, packed.size() - pos);
        blocks.push_back(static_cast<char>(length));
        blocks.append(packed, pos, length);
    }
    blocks.push_back('\0');
    return blocks;
}

// The rows of a picture in the order an interlaced file stores them.
inline std::vector<int> gifInterlacedRowOrder(int height) {
    std::vector<int> order;
    const std::array<std::pair<int, int>, 4> passes{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
    for (const auto& [start, step] : passes) {
        for (int row = start; row < height; row += step) {
            order.push_back(row);
        }
    }
    return order;
}

inline int gifSizeField(size_t entries) {
    int field = 0;
    while ((size_t{2} << field) < entries) {
        ++field;
    }
    return field;
}

class GifBuilder {
  public:
    GifBuilder& raw(const std::string& bytes) {
        data_ += bytes;
        return *this;
    }
    GifBuilder& byte(int value) {
        data_.push_back(static_cast<char>(value));
        return *this;
    }
    GifBuilder& le16(int value) { return byte(value & 0xFF).byte((value >> 8) & 0xFF); }

    // Signature, version and logical screen descriptor with its global table. Without a table,
    // sizeField still goes into the packed byte.
    GifBuilder& screen(int width, int height, const std::vector<Rgb>& globalTable,
                       int background = 0, int sizeFieldWithoutTable = 0,
                       const std::string& version = "89a") {
        raw("GIF" + version).le16(width).le16(height);
        globalColors_ = globalTable.empty() ? 2 : globalTable.size();
        if (globalTable.empty()) {
            byte(sizeFieldWithoutTable & 7);
        } else {
            byte(0x80 | gifSizeField(globalTable.size()));
        }
        byte(background).byte(0);
        table(globalTable);
        return *this;
    }

    GifBuilder& comment(const std::string& text) {
        byte(0x21).byte(0xFE).byte(static_cast<int>(text.size())).raw(text).byte(0);
        return *this;
    }
    GifBuilder& graphicControl() { return raw(std::string("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8)); }
    // A graphic control extension: disposal 0-7, delay in hundredths, transparent index or -1.
    GifBuilder& graphicControl(int disposal, int delay, int transparent) {
        byte(0x21).byte(0xF9).byte(4).byte(disposal << 2 | (transparent >= 0 ? 1 : 0));
        return le16(delay).byte(transparent >= 0 ? transparent : 0).byte(0);
    }
    GifBuilder& application(int loopCount = 0) {
        byte(0x21).byte(0xFF).byte(11).raw("NETSCAPE2.0");
        return byte(3).byte(1).le16(loopCount).byte(0);
    }

    // Image descriptor, local table, code size and the encoded data.
    GifBuilder& frame(const GifFrame& frame) {
        descriptor(frame);
        const size_t colors = frame.localTable.empty() ? globalColors_ : frame.localTable.size();
        const int codeSize =
            frame.codeSize > 0 ? frame.codeSize : std::max(2, gifSizeField(colors) + 1);
        std::vector<uint8_t> stored = frame.indices;
        if (frame.interlaced) {
            stored.clear();
            for (const int row : gifInterlacedRowOrder(frame.height)) {
                const auto first = frame.indices.begin() + row * frame.width;
                stored.insert(stored.end(), first, first + frame.width);
            }
        }
        byte(codeSize);
        return raw(gifLzwSubBlocks(stored, codeSize, frame.clearWhenFull));
    }

    // Image descriptor and local table only; the caller writes code size and data.
    GifBuilder& descriptor(const GifFrame& frame) {
        byte(0x2C).le16(frame.left).le16(frame.top).le16(frame.width).le16(frame.height);
        int packed = frame.interlaced ? 0x40 : 0;
        if (!frame.localTable.empty()) {
            packed |= 0x80 | gifSizeField(frame.localTable.size());
        }
        byte(packed);
        return table(frame.localTable);
    }

    GifBuilder& trailer() { return byte(0x3B); }
    const std::string& bytes() const { return data_; }

  private:
    GifBuilder& table(const std::vector<Rgb>& colors) {
        if (colors.empty()) {
            return *this;
        }
        const size_t entries = size_t{2} << gifSizeField(colors.size());
        for (size_t i = 0; i < entries; ++i) {
            const Rgb c = i < colors.size() ? colors[i] : Rgb{};
            byte(c.red).byte(c.green).byte(c.blue);
        }
        return *this;
    }

    std::string data_;
    size_t globalColors_ = 2;
};

// A table of n distinct colours.
inline std::vector<Rgb> gifTestPalette(int n) {
    std::vector<Rgb> colors;
    for (int i = 0; i < n; ++i) {
        colors.push_back({static_cast<uint8_t>(i * 37 + 11), static_cast<uint8_t>(255 - i),
                          static_cast<uint8_t>(i * 91 + 3)});
    }
    return colors;
}

// A reader of the bytes, which must outlive it.
inline std::unique_ptr<codecs::ByteReader> readerOf(const std::string& bytes) {
    return codecs::memoryReader({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
}

} // namespace velmora::test
