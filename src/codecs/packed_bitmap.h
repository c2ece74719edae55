// The packed bitmap the palette decoders (GIF, MAG) build before the image is made from it:
// a 40-byte information header, a colour table of 2^bitsPerPixel entries (blue, green, red, 0)
// and the pixel rows bottom-up, each padded to a multiple of 4 bytes. DibImage::loadPackedDib
// turns it into the 24-bit picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace velmora::codecs {

// True when DibImage::create would refuse a picture of this size; decoders test it before they
// allocate anything for the picture.
bool exceedsImageLimits(int64_t width, int64_t height);

class PackedBitmap {
  public:
    static constexpr size_t kHeaderSize = 40;

    // Makes a zero-filled block for width x height pixels at 1, 4 or 8 bits per pixel and writes
    // its header. False when memory is short; the bitmap is then empty.
    bool allocate(int32_t width, int32_t height, int bitsPerPixel);

    void setColor(int index, uint8_t red, uint8_t green, uint8_t blue);

    bool empty() const { return block_ == nullptr; }
    const uint8_t* data() const { return block_.get(); }
    size_t size() const { return size_; }
    size_t rowBytes() const { return rowBytes_; }
    int32_t height() const { return height_; }
    // First byte of the pixel rows (the bottom picture row) and one past the last.
    uint8_t* pixels() { return block_.get() + pixelOffset_; }
    uint8_t* pixelsEnd() { return block_.get() + size_; }
    // Picture row y, counted from the top.
    uint8_t* pictureRow(int32_t y) {
        return pixels() + static_cast<size_t>(height_ - 1 - y) * rowBytes_;
    }
    const uint8_t* pictureRow(int32_t y) const {
        return block_.get() + pixelOffset_ + static_cast<size_t>(height_ - 1 - y) * rowBytes_;
    }
    int bitsPerPixel() const { return bitsPerPixel_; }
    // The colour index of pixel x of a picture row.
    uint8_t indexAt(const uint8_t* row, int32_t x) const {
        if (bitsPerPixel_ == 8) {
            return row[x];
        }
        if (bitsPerPixel_ == 4) {
            return static_cast<uint8_t>((row[x >> 1] >> ((x & 1) != 0 ? 0 : 4)) & 0x0F);
        }
        return static_cast<uint8_t>((row[x >> 3] >> (7 - (x & 7))) & 1);
    }

  private:
    struct FreeDeleter {
        void operator()(uint8_t* p) const { std::free(p); }
    };

    std::unique_ptr<uint8_t[], FreeDeleter> block_;
    size_t size_ = 0;
    size_t rowBytes_ = 0;
    size_t pixelOffset_ = 0;
    int32_t height_ = 0;
    int bitsPerPixel_ = 0;
};

} // namespace velmora::codecs
