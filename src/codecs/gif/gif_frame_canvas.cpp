#include "codecs/gif/gif_frame_canvas.h"

#include <cstring>
#include <new>

namespace velmora::codecs::gif {

bool FrameCanvas::create(int width, int height, bool transparency) {
    if (!canvas_.create(width, height) || (transparency && !canvas_.createAlpha())) {
        canvas_.release();
        return false;
    }
    return true;
}

void FrameCanvas::start(const std::array<uint8_t, 3>& background, bool transparent) {
    background_ = background;
    fill({0, 0, canvas_.width(), canvas_.height()}, transparent ? 0 : 255);
}

void FrameCanvas::clearRect(const FrameRect& rect) {
    fill(rect, 0);
}

void FrameCanvas::fill(const FrameRect& rect, uint8_t alpha) {
    for (int y = rect.top; y < rect.top + rect.height; ++y) {
        uint8_t* colour = canvas_.row(y) + size_t{3} * rect.left;
        for (int x = 0; x < rect.width; ++x, colour += 3) {
            std::memcpy(colour, background_.data(), 3);
        }
        if (canvas_.hasAlpha()) {
            std::memset(canvas_.alphaRow(y) + rect.left, alpha, static_cast<size_t>(rect.width));
        }
    }
}

bool FrameCanvas::save(const FrameRect& rect) {
    const size_t rowColours = size_t{3} * rect.width;
    try {
        savedColours_.resize(rowColours * rect.height);
        savedAlpha_.resize(canvas_.hasAlpha() ? size_t{1} * rect.width * rect.height : 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    saved_ = rect;
    for (int y = 0; y < rect.height; ++y) {
        std::memcpy(savedColours_.data() + rowColours * y,
                    canvas_.row(rect.top + y) + size_t{3} * rect.left, rowColours);
        if (canvas_.hasAlpha()) {
            std::memcpy(savedAlpha_.data() + size_t{1} * rect.width * y,
                        canvas_.alphaRow(rect.top + y) + rect.left, rect.width);
        }
    }
    return true;
}

void FrameCanvas::restore() {
    const FrameRect& rect = saved_;
    const size_t rowColours = size_t{3} * rect.width;
    for (int y = 0; y < rect.height; ++y) {
        std::memcpy(canvas_.row(rect.top + y) + size_t{3} * rect.left,
                    savedColours_.data() + rowColours * y, rowColours);
        if (canvas_.hasAlpha()) {
            std::memcpy(canvas_.alphaRow(rect.top + y) + rect.left,
                        savedAlpha_.data() + size_t{1} * rect.width * y, rect.width);
        }
    }
}

void FrameCanvas::drawRow(const FrameRect& rect, int y, const uint8_t* indices,
                          const FramePalette& palette, int transparent, bool first) {
    uint8_t* colour = canvas_.row(rect.top + y) + size_t{3} * rect.left;
    uint8_t* alpha = canvas_.hasAlpha() ? canvas_.alphaRow(rect.top + y) + rect.left : nullptr;
    const int last = rect.width - 1;
    if (transparent < 0) {
        // Each store's fourth byte is overwritten by the next pixel; the last pixel stores three.
        for (int x = 0; x < last; ++x) {
            std::memcpy(colour + size_t{3} * x, &palette[indices[x]], 4);
        }
        std::memcpy(colour + size_t{3} * last, &palette[indices[last]], 3);
        if (alpha != nullptr) {
            std::memset(alpha, 255, static_cast<size_t>(rect.width));
        }
        return;
    }
    for (int x = 0; x < rect.width; ++x, colour += 3) {
        const int index = indices[x];
        if (index == transparent && !first) {
            continue;
        }
        std::memcpy(colour, &palette[index], 3);
        if (alpha != nullptr) {
            alpha[x] = index == transparent ? 0 : 255;
        }
    }
}

bool FrameCanvas::copyTo(image::DibImage& frame) const {
    const int height = canvas_.height();
    // A frame of the canvas's size (the one shown before, handed back) is overwritten as it is.
    const bool sized =
        frame.hasPixels() && frame.width() == canvas_.width() && frame.height() == height;
    if ((!sized && !frame.create(canvas_.width(), height)) ||
        (canvas_.hasAlpha() && !frame.hasAlpha() && !frame.createAlpha())) {
        return false;
    }
    if (!canvas_.hasAlpha()) {
        frame.dropAlpha();
    }
    std::memcpy(frame.bits(), canvas_.bits(), size_t{1} * canvas_.stride() * height);
    if (canvas_.hasAlpha()) {
        std::memcpy(frame.alphaRow(0), canvas_.alphaRow(0), size_t{1} * canvas_.width() * height);
    }
    return true;
}

} // namespace velmora::codecs::gif
