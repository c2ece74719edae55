// The logical screen an animated GIF's frames are composed on: 24-bit colours and, when the file
// uses a transparent index anywhere, an alpha plane. The first frame is drawn as the still
// picture shows it (every pixel in its palette colour, the transparent index's pixels
// transparent, the rest of the screen in the background colour); a later frame's transparent
// pixels leave what is under them. Areas a frame's disposal restores to the background take the
// background colour and become transparent.
#pragma once

#include "image/dib_image.h"

#include <array>
#include <cstdint>
#include <vector>

namespace velmora::codecs::gif {

struct FrameRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Blue, green, red of each of the 256 indices, in the first three bytes of each entry (the
// fourth is 0), so that a pixel is stored with one 4-byte copy.
using FramePalette = std::array<uint32_t, 256>;

class FrameCanvas {
  public:
    // A canvas of width x height; false when memory is short.
    [[nodiscard]] bool create(int width, int height, bool transparency);
    [[nodiscard]] bool created() const { return canvas_.hasPixels(); }
    // The whole canvas in the background colour, opaque or transparent, before the first frame.
    void start(const std::array<uint8_t, 3>& background, bool transparent);
    // rect back to the background, transparent.
    void clearRect(const FrameRect& rect);
    // Keeps what rect holds for restore(); false when memory is short.
    [[nodiscard]] bool save(const FrameRect& rect);
    void restore();
    // Draws one frame's rows of indices (rect.width bytes each, row(y) the frame's row y) at rect.
    // transparent: the transparent index, -1 for none; first: the first frame.
    template <typename RowOf>
    void draw(const FrameRect& rect, RowOf row, const FramePalette& palette, int transparent,
              bool first) {
        for (int y = 0; y < rect.height; ++y) {
            drawRow(rect, y, row(y), palette, transparent, first);
        }
    }
    // Makes frame a copy of the canvas; false when memory is short.
    [[nodiscard]] bool copyTo(image::DibImage& frame) const;

  private:
    void drawRow(const FrameRect& rect, int y, const uint8_t* indices, const FramePalette& palette,
                 int transparent, bool first);
    void fill(const FrameRect& rect, uint8_t alpha);

    image::DibImage canvas_;
    std::array<uint8_t, 3> background_{};
    FrameRect saved_;
    std::vector<uint8_t> savedColours_;
    std::vector<uint8_t> savedAlpha_;
};

} // namespace velmora::codecs::gif
