#include "codecs/bmp/bmp_rle.h"

#include <algorithm>

namespace velmora::codecs::bmp {
namespace {

// The position of the next pixel. Positions outside the canvas are kept (a delta or a long run
// may go there) but nothing is written at them.
class Cursor {
  public:
    Cursor(uint8_t* canvas, int32_t width, int32_t height)
        : canvas_(canvas), width_(width), height_(height) {}

    void put(uint8_t index) {
        if (x_ < width_ && y_ < height_) {
            canvas_[y_ * width_ + x_] = index;
        }
        ++x_;
    }
    void endLine() {
        x_ = 0;
        ++y_;
    }
    void move(uint8_t right, uint8_t up) {
        x_ += right;
        y_ += up;
    }
    bool pastLastRow() const { return y_ >= height_; }
    bool filled() const { return pastLastRow() || (y_ == height_ - 1 && x_ >= width_); }

  private:
    uint8_t* canvas_;
    int64_t width_;
    int64_t height_;
    int64_t x_ = 0;
    int64_t y_ = 0;
};

uint8_t nibble(uint8_t byte, size_t k) {
    return (k % 2 == 0) ? byte >> 4 : byte & 0x0F;
}

enum : uint8_t { kEndOfLine = 0, kEndOfBitmap = 1, kDelta = 2 };

} // namespace

bool expandRle(std::span<const uint8_t> data, RleDepth depth, int32_t width, int32_t height,
               uint8_t* canvas) {
    const bool four = depth == RleDepth::Four;
    Cursor cursor(canvas, width, height);
    size_t at = 0;
    while (!cursor.pastLastRow()) {
        if (data.size() - at < 2) {
            return cursor.filled();
        }
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) { // a run of count pixels of one index, or of two alternating nibbles
            for (size_t k = 0; k < count; ++k) {
                cursor.put(four ? nibble(value, k) : value);
            }
            continue;
        }
        if (value == kEndOfLine) {
            cursor.endLine();
        } else if (value == kEndOfBitmap) {
            return true;
        } else if (value == kDelta) {
            if (data.size() - at < 2) {
                return false;
            }
            cursor.move(data[at], data[at + 1]);
            at += 2;
        } else { // value pixels stored as they are, padded to an even number of bytes
            const size_t bytes = four ? (value + size_t{1}) / 2 : value;
            if (data.size() - at < bytes) {
                return false;
            }
            for (size_t k = 0; k < value; ++k) {
                cursor.put(four ? nibble(data[at + k / 2], k) : data[at + k]);
            }
            at = std::min(data.size(), at + bytes + bytes % 2);
        }
    }
    return true;
}

} // namespace velmora::codecs::bmp
