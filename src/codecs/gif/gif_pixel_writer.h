// Puts the decoded colour indices of one GIF image onto the canvas of the packed bitmap: the
// image's rows in file order (plain, or the four interlace passes) at its left and top offset.
#pragma once

#include "codecs/packed_bitmap.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace velmora::codecs::gif {

struct ImagePlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
};

class PixelWriter {
  public:
    PixelWriter(PackedBitmap& canvas, int bitsPerPixel, const ImagePlacement& placement)
        : canvas_(canvas), place_(placement), bitsPerPixel_(bitsPerPixel),
          rowsLeft_(placement.width > 0 ? placement.height : 0) {
        if (rowsLeft_ > 0) {
            row_ = canvas_.pictureRow(place_.top);
        }
    }

    // Every pixel of the image has been written.
    bool full() const { return rowsLeft_ <= 0; }
    // Pixels still to be written.
    int64_t pixelsLeft() const {
        return rowsLeft_ > 0 ? int64_t{rowsLeft_} * place_.width - x_ : 0;
    }

    // Writes indices across rows at any depth; what does not fit in the image is dropped.
    void write(const uint8_t* indices, int64_t count) {
        while (count > 0 && rowsLeft_ > 0) {
            const int run = static_cast<int>(std::min<int64_t>(count, place_.width - x_));
            putRun(indices, run);
            indices += run;
            count -= run;
            x_ += run;
            if (x_ == place_.width) {
                nextRow();
            }
        }
    }

  private:
    void putRun(const uint8_t* indices, int run) {
        const int column = place_.left + x_;
        if (bitsPerPixel_ == 8) {
            std::memcpy(row_ + column, indices, static_cast<size_t>(run));
            return;
        }
        // Pixels one at a time up to a byte boundary, then whole bytes, then the last pixels.
        const int perByte = 8 / bitsPerPixel_;
        int i = 0;
        for (; i < run && (column + i) % perByte != 0; ++i) {
            putPixel(column + i, indices[i]);
        }
        uint8_t* packed = row_ + (column + i) / perByte;
        for (; i + perByte <= run; i += perByte) {
            *packed++ = bitsPerPixel_ == 4
                            ? static_cast<uint8_t>(indices[i] << 4 | (indices[i + 1] & 0x0F))
                            : packEightBits(indices + i);
        }
        for (; i < run; ++i) {
            putPixel(column + i, indices[i]);
        }
    }

    void putPixel(int column, uint8_t index) {
        if (bitsPerPixel_ == 4) {
            uint8_t& byte = row_[column >> 1];
            const uint8_t value = index & 0x0F;
            byte = (column & 1) ? static_cast<uint8_t>((byte & 0xF0) | value)
                                : static_cast<uint8_t>((byte & 0x0F) | value << 4);
        } else {
            const auto bit = static_cast<uint8_t>(0x80 >> (column & 7));
            uint8_t& byte = row_[column >> 3];
            byte = (index & 1) ? (byte | bit) : static_cast<uint8_t>(byte & ~bit);
        }
    }

    // The low bits of eight indices as one byte, the first index in the top bit. One multiply
    // moves the bit of byte i (bit 8i of the little-endian word) to bit 63 - i.
    static uint8_t packEightBits(const uint8_t* indices) {
        uint64_t word = 0;
        std::memcpy(&word, indices, sizeof word);
        if constexpr (std::endian::native == std::endian::big) {
            word = __builtin_bswap64(word);
        }
        return static_cast<uint8_t>(((word & 0x0101010101010101) * 0x8040201008040201) >> 56);
    }

    void nextRow() {
        x_ = 0;
        if (--rowsLeft_ == 0) {
            return;
        }
        if (!place_.interlaced) {
            ++imageRow_;
        } else {
            // Passes: every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
            static constexpr int kStart[4] = {0, 4, 2, 1};
            static constexpr int kStep[4] = {8, 8, 4, 2};
            imageRow_ += kStep[pass_];
            while (imageRow_ >= place_.height) {
                imageRow_ = kStart[++pass_];
            }
        }
        row_ = canvas_.pictureRow(place_.top + imageRow_);
    }

    PackedBitmap& canvas_;
    ImagePlacement place_;
    int bitsPerPixel_;
    int rowsLeft_;
    int imageRow_ = 0;
    int pass_ = 0;
    int x_ = 0;
    uint8_t* row_ = nullptr;
};

} // namespace velmora::codecs::gif
