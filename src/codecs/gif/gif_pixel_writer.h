// Puts the decoded colour indices of one GIF image onto the canvas of the packed bitmap: the
// image's rows in file order (plain, or the four interlace passes) at its left and top offset.
#pragma once

#include "codecs/packed_bitmap.h"

#include <algorithm>
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
    bool isEightBit() const { return bitsPerPixel_ == 8; }

    // Eight bits only: room left in the current row and the place of its next pixel.
    int roomInRow() const { return place_.width - x_; }
    uint8_t* cursor() { return row_ + place_.left + x_; }
    // Eight bits only: count pixels (at most roomInRow) were written at cursor.
    void advance(int count) {
        x_ += count;
        if (x_ == place_.width) {
            nextRow();
        }
    }

    // Writes indices across rows at any depth; what does not fit in the image is dropped.
    void write(const uint8_t* indices, int count) {
        while (count > 0 && rowsLeft_ > 0) {
            const int run = std::min(count, place_.width - x_);
            putRun(indices, run);
            indices += run;
            count -= run;
            advance(run);
        }
    }

  private:
    void putRun(const uint8_t* indices, int run) {
        const int column = place_.left + x_;
        if (bitsPerPixel_ == 8) {
            std::memcpy(row_ + column, indices, static_cast<size_t>(run));
        } else if (bitsPerPixel_ == 4) {
            for (int i = 0; i < run; ++i) {
                const int c = column + i;
                uint8_t& byte = row_[c >> 1];
                const uint8_t value = indices[i] & 0x0F;
                byte = (c & 1) ? static_cast<uint8_t>((byte & 0xF0) | value)
                               : static_cast<uint8_t>((byte & 0x0F) | value << 4);
            }
        } else {
            for (int i = 0; i < run; ++i) {
                const int c = column + i;
                const auto bit = static_cast<uint8_t>(0x80 >> (c & 7));
                uint8_t& byte = row_[c >> 3];
                byte = (indices[i] & 1) ? (byte | bit) : static_cast<uint8_t>(byte & ~bit);
            }
        }
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
