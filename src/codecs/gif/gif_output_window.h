// The window between the GIF image's LZW decoder and its pixel writer.
#pragma once

#include "codecs/gif/gif_pixel_writer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace velmora::codecs::gif {

// The decoded indices in stream order, positions counted from the first. The latest ones stay
// here so that strings can be copied from them; older ones have gone on to the pixel writer.
class OutputWindow {
  public:
    static constexpr size_t kWindowBytes = 120 << 10; // in the cache; below the mmap threshold
    static constexpr size_t kKeptBytes = 32 << 10;    // what the window keeps when it slides
    static constexpr size_t kOverrun = 16;            // room for a write past what was reserved

    // The caller reserves at most longest (no more than kKeptBytes) indices at a time and stops
    // once the image is full. An image of fewer pixels than the window gets a window that holds
    // all of it, so only a full-size window ever slides. Throws std::bad_alloc.
    OutputWindow(PixelWriter& writer, int longest)
        : writer_(writer), limit_(static_cast<size_t>(
                               std::min<int64_t>(kWindowBytes, writer.pixelsLeft() + longest))),
          bytes_(limit_ + kOverrun) {}

    size_t position() const { return base_ + fill_; }

    // Room for length indices at position(); a full window first passes all but its last
    // kKeptBytes to the writer. Up to kOverrun bytes past the room may be written too.
    uint8_t* reserve(int length) {
        if (fill_ + static_cast<size_t>(length) > limit_) {
            const size_t gone = fill_ - kKeptBytes;
            writer_.write(bytes_.data(), static_cast<int64_t>(gone));
            std::memmove(bytes_.data(), bytes_.data() + gone, kKeptBytes);
            base_ += gone;
            fill_ = kKeptBytes;
        }
        return bytes_.data() + fill_;
    }
    void commit(int length) { fill_ += static_cast<size_t>(length); }

    // The indices from output position at on, or null when they have left the window.
    const uint8_t* at(size_t at) const {
        return at >= base_ ? bytes_.data() + (at - base_) : nullptr;
    }

    void flush() {
        writer_.write(bytes_.data(), static_cast<int64_t>(fill_));
        base_ += fill_;
        fill_ = 0;
    }

  private:
    PixelWriter& writer_;
    size_t limit_;
    std::vector<uint8_t> bytes_;
    size_t base_ = 0; // position of bytes_[0]
    size_t fill_ = 0;
};

} // namespace velmora::codecs::gif
