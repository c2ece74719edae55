// DibImage: the one in-memory picture type. 24 bits per pixel, rows top-down, bytes blue, green,
// red, each row padded to a multiple of 4 bytes. Pixel (x, y) is at bits() + y * stride() + 3 * x.
// Colours given to the fills and text settings are 0x00BBGGRR values (red in the low byte).
#pragma once

#include "ui/string_table.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace velmora::image {

// Largest picture the program agrees to hold; larger requests fail like an allocation failure.
inline constexpr int64_t kMaxImagePixels = 200'000'000;
inline constexpr int32_t kMaxImageSide = 65535;

// The logical-font record the image's text font is made from.
struct FontDescription {
    int32_t height = 9;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = 1;
    std::u16string faceName = u"System";
};

// A created font; counted so that tests can see none leaks.
class Font {
  public:
    explicit Font(const FontDescription& description);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    const FontDescription& description() const { return description_; }
    static int liveCount();

  private:
    FontDescription description_;
};

// Height of the font create() gives an image on a screen of dpiY pixels per inch.
constexpr int32_t fontHeightForDpi(int32_t dpiY) {
    return (dpiY * 9 + 48) / 96;
}

// Stride of a 24-bit row of the given width: 3 bytes a pixel rounded up to 4.
constexpr int64_t strideFor(int64_t width) {
    return ((width * 24 + 31) >> 3) & ~int64_t{3};
}

class DibImage {
  public:
    DibImage();
    virtual ~DibImage();
    DibImage(const DibImage&) = delete;
    DibImage& operator=(const DibImage&) = delete;

    // When set, creation and format failures show error 316 or 322.
    bool reportErrors = true;

    // Makes a black image of width x |height|; replaces whatever the image held. On failure
    // (no memory, width or height below 1, over the size limits) reports 316 and returns false,
    // leaving the image without pixels.
    bool create(int32_t width, int32_t height);
    void release();
    // Exchanges the pixels (size, stride and buffer) with other; everything else stays. Edits
    // build their result in a second image and swap it in, so a failure leaves the first intact.
    void swapPixels(DibImage& other) noexcept;

    void fillBlack();
    void fillColor(uint32_t color);

    void setFontHeight(int32_t height);
    uint32_t setTextColor(uint32_t color);
    uint32_t setBackColor(uint32_t color);
    int setBackMode(int mode); // 1 transparent, 2 opaque

    // Unscaled copies, clipped to both images.
    void copyFrom(int32_t x, int32_t y, const DibImage& other);
    void copyRectFrom(int32_t x, int32_t y, int32_t w, int32_t h, const DibImage& other,
                      int32_t sx = 0, int32_t sy = 0);
    // Nearest-pixel stretch of other's (sx, sy, sw, sh) into (x, y, w, h), clipped.
    void stretchFrom(int32_t x, int32_t y, int32_t w, int32_t h, const DibImage& other, int32_t sx,
                     int32_t sy, int32_t sw, int32_t sh);
    // Aspect-preserving, centred placement of the whole of other.
    void fitFrom(const DibImage& other);

    // Builds the image from a packed bitmap: 40-byte header, colour table, bottom-up rows.
    bool loadPackedDib(const uint8_t* data, size_t length);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t stride() const { return stride_; }
    uint8_t* bits() { return pixels_.get(); }
    const uint8_t* bits() const { return pixels_.get(); }
    bool hasPixels() const { return pixels_ != nullptr && stride_ > 0; }
    // Bytes of pixel memory held (a reused buffer may be somewhat larger than stride x height).
    size_t capacity() const { return capacity_; }
    uint8_t* row(int32_t y) { return bits() + static_cast<size_t>(y) * stride_; }
    const uint8_t* row(int32_t y) const { return bits() + static_cast<size_t>(y) * stride_; }

    const FontDescription& fontDescription() const { return fontDescription_; }
    const Font* font() const { return font_.get(); }
    uint32_t textColor() const { return textColor_; }
    uint32_t backColor() const { return backColor_; }
    int backMode() const { return backMode_; }

  private:
    struct FreeDeleter {
        void operator()(uint8_t* p) const;
    };

    bool allocatePixels(size_t bytes);
    void failWith(ui::StringId stringId) const;

    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t stride_ = 0;
    std::unique_ptr<uint8_t[], FreeDeleter> pixels_;
    size_t capacity_ = 0;
    FontDescription fontDescription_;
    std::unique_ptr<Font> font_;
    uint32_t textColor_ = 0;
    uint32_t backColor_ = 0xFFFFFF;
    int backMode_ = 2;
};

} // namespace velmora::image
