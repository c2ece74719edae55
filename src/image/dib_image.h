// DibImage: the one in-memory picture type. 24 bits per pixel, rows top-down, bytes blue, green,
// red, each row padded to a multiple of 4 bytes. Pixel (x, y) is at bits() + y * stride() + 3 * x.
// Colours given to the fills are 0x00BBGGRR values (red in the low byte).
// A picture whose file had transparency also carries an alpha plane: one byte a pixel (255
// opaque), rows top-down and unpadded. Pictures without transparency have none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace velmora::image {

// Largest picture the program agrees to hold; larger requests fail like an allocation failure.
inline constexpr int64_t kMaxImagePixels = 200'000'000;
inline constexpr int32_t kMaxImageSide = 65535;

// A rectangle of pixels: its top-left corner and its size.
struct PixelRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Stride of a 24-bit row of the given width: 3 bytes a pixel rounded up to 4.
constexpr int64_t strideFor(int64_t width) {
    return ((width * 24 + 31) >> 3) & ~int64_t{3};
}

// Where fitFrom puts a width x height picture in a box: unscaled and centred when smaller in
// both directions, else scaled to the box keeping its ratio, centred.
PixelRect fitPlacement(int32_t boxWidth, int32_t boxHeight, int32_t width, int32_t height);

class DibImage {
  public:
    DibImage();
    virtual ~DibImage();
    DibImage(const DibImage&) = delete;
    DibImage& operator=(const DibImage&) = delete;

    // Makes a black image of width x |height|; replaces whatever the image held. False (no
    // memory, width or height below 1, over the size limits) leaves the image without pixels.
    [[nodiscard]] bool create(int32_t width, int32_t height);
    void release();
    // Exchanges the pixels (size, stride, buffer and alpha plane) with other; everything else
    // stays. Edits build their result in a second image and swap it in, so a failure leaves the
    // first intact.
    void swapPixels(DibImage& other) noexcept;

    // Gives the image an alpha plane, every pixel opaque. False (no memory, no pixels) leaves it
    // without one.
    [[nodiscard]] bool createAlpha();
    void dropAlpha() noexcept { alpha_.reset(); }
    [[nodiscard]] bool hasAlpha() const { return alpha_ != nullptr; }
    uint8_t* alphaRow(int32_t y) { return alpha_.get() + static_cast<size_t>(y) * width_; }
    const uint8_t* alphaRow(int32_t y) const {
        return alpha_.get() + static_cast<size_t>(y) * width_;
    }
    // Bytes the alpha plane holds (0 without one).
    size_t alphaBytes() const { return hasAlpha() ? static_cast<size_t>(width_) * height_ : 0; }
    // Gives this image the alpha of other's pixels from (sx, sy) on, this image's size, when
    // other has a plane (and none when it has not). The rectangle must lie inside other. False
    // when the plane cannot be made.
    [[nodiscard]] bool copyAlphaFrom(const DibImage& other, int32_t sx = 0, int32_t sy = 0);
    // Drops a plane in which every pixel is opaque: it would only cost memory and time.
    void dropAlphaIfOpaque() noexcept;

    void fillBlack();
    void fillColor(uint32_t color);

    // Unscaled copies, clipped to both images.
    void copyFrom(int32_t x, int32_t y, const DibImage& other);
    void copyRectFrom(int32_t x, int32_t y, int32_t w, int32_t h, const DibImage& other,
                      int32_t sx = 0, int32_t sy = 0);
    // Nearest-pixel stretch of other's rectangle from into this image's rectangle to, clipped.
    void stretchFrom(PixelRect to, const DibImage& other, PixelRect from);
    // Aspect-preserving, centred placement of the whole of other.
    void fitFrom(const DibImage& other);

    // Builds the image from a packed bitmap: 40-byte header, colour table, bottom-up rows.
    // False for a bitmap it does not take and when the image cannot be made.
    [[nodiscard]] bool loadPackedDib(const uint8_t* data, size_t length);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t stride() const { return stride_; }
    uint8_t* bits() { return pixels_.get(); }
    const uint8_t* bits() const { return pixels_.get(); }
    [[nodiscard]] bool hasPixels() const { return pixels_ != nullptr && stride_ > 0; }
    // Bytes of pixel memory held (a reused buffer may be somewhat larger than stride x height).
    size_t capacity() const { return capacity_; }
    uint8_t* row(int32_t y) { return bits() + static_cast<size_t>(y) * stride_; }
    const uint8_t* row(int32_t y) const { return bits() + static_cast<size_t>(y) * stride_; }

  private:
    struct FreeDeleter {
        void operator()(uint8_t* p) const;
    };

    [[nodiscard]] bool allocatePixels(size_t bytes);

    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t stride_ = 0;
    std::unique_ptr<uint8_t[], FreeDeleter> pixels_;
    size_t capacity_ = 0;
    std::unique_ptr<uint8_t[]> alpha_;
};

} // namespace velmora::image
