#include "image/dib_image.h"

#include "image/spare_pixels.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <sys/mman.h>
#include <utility>

namespace velmora::image {
namespace {

// Buffers of this size and more are mapped directly: the pages arrive zeroed (no black fill
// pass) and may be backed by huge pages, which keeps page-fault cost low for large photos.
constexpr size_t kMappedThreshold = size_t{4} << 20;
constexpr size_t kHugePage = size_t{2} << 20;

size_t mappedLength(size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

void writePixel(uint8_t* dst, uint32_t color) {
    dst[0] = static_cast<uint8_t>(color >> 16);
    dst[1] = static_cast<uint8_t>(color >> 8);
    dst[2] = static_cast<uint8_t>(color);
}

uint32_t readLe32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

uint16_t readLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// Bytes of one pixel group in the table below: the pixels of a source byte (8, 2 or 1), and for
// 4 and 8 bits room for one wider store.
constexpr size_t groupEntryBytes(int bitsPerPixel) {
    return bitsPerPixel == 1 ? 24 : bitsPerPixel == 4 ? 8 : 4;
}

// Expands one row of Bits-per-pixel indices with one table copy per source byte. Each store but
// the last of the whole bytes is a full entry, whose spare bytes the next group overwrites; the
// last and the pixels of a partly used final byte are stored exactly, so nothing past the row's
// pixels is touched.
template <int Bits>
void expandGroups(const uint8_t* groups, const uint8_t* src, uint8_t* dst, int32_t width) {
    constexpr int32_t kPerByte = 8 / Bits;
    constexpr size_t kUsed = 3 * kPerByte;
    constexpr size_t kEntry = groupEntryBytes(Bits);
    const int32_t whole = width / kPerByte;
    const int32_t rest = width % kPerByte;
    for (int32_t i = 0; i + 1 < whole; ++i) {
        std::memcpy(dst + kUsed * i, groups + kEntry * src[i], kEntry);
    }
    if (whole > 0) {
        std::memcpy(dst + kUsed * (whole - 1), groups + kEntry * src[whole - 1], kUsed);
    }
    if (rest > 0) {
        std::memcpy(dst + kUsed * whole, groups + kEntry * src[whole], size_t{3} * rest);
    }
}

// The colour table of a 1-, 4- or 8-bit packed bitmap, prepared as the 24-bit pixels of every
// possible source byte. Only the entries the table holds are read; the rest stay black.
class IndexedPalette {
  public:
    IndexedPalette(std::span<const uint8_t> rgbQuads, int bitsPerPixel) : bpp_(bitsPerPixel) {
        std::array<uint8_t, 3 * 256> colours{};
        const size_t entries = std::min(size_t{1} << bitsPerPixel, rgbQuads.size() / 4);
        for (size_t i = 0; i < entries; ++i) {
            std::memcpy(&colours[3 * i], &rgbQuads[4 * i], 3);
        }
        const int perByte = 8 / bpp_;
        const int mask = (1 << bpp_) - 1;
        const size_t entry = groupEntryBytes(bpp_);
        for (int b = 0; b < 256; ++b) {
            for (int k = 0; k < perByte; ++k) { // the first pixel in the top bits
                const int index = (b >> (8 - bpp_ * (k + 1))) & mask;
                std::memcpy(&groups_[entry * b + 3 * k], &colours[3 * index], 3);
            }
        }
    }

    void expandRow(const uint8_t* src, uint8_t* dst, int32_t width) const {
        if (bpp_ == 8) {
            expandGroups<8>(groups_.data(), src, dst, width);
        } else if (bpp_ == 4) {
            expandGroups<4>(groups_.data(), src, dst, width);
        } else {
            expandGroups<1>(groups_.data(), src, dst, width);
        }
    }

  private:
    int bpp_;
    std::array<uint8_t, 24 * 256> groups_{};
};

} // namespace

void DibImage::FreeDeleter::operator()(uint8_t* p) const {
    // The capacity is not known here, so mapped buffers carry their length in front.
    auto* block = p - 64;
    size_t length = 0;
    std::memcpy(&length, block, sizeof length);
    if (length == 0) {
        std::free(block);
    } else {
        munmap(block, length);
    }
}

DibImage::DibImage() = default;

DibImage::~DibImage() {
    release();
}

bool DibImage::allocatePixels(size_t bytes) {
    // Reuse a buffer of about the right size (at most half as large again as needed, so that a
    // small picture never keeps a large one's memory): the caller fills it black.
    if (pixels_ && bytes <= capacity_ && capacity_ - bytes <= bytes / 2) {
        std::memset(pixels_.get(), 0, bytes);
        return true;
    }
    // A released picture's buffer of about the right size is already mapped; this one's is kept
    // in exchange.
    DibImage spare;
    const bool reused = takeSparePixels(spare, bytes);
    keepSparePixels(*this);
    if (reused) {
        swapPixels(spare);
        std::memset(pixels_.get(), 0, bytes);
        return true;
    }
    uint8_t* block = nullptr;
    size_t length = 0;
    if (bytes + 64 >= kMappedThreshold) {
        length = mappedLength(bytes + 64);
        void* mapped =
            mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) {
            return false;
        }
        madvise(mapped, length, MADV_HUGEPAGE);
        block = static_cast<uint8_t*>(mapped); // fresh pages read as zero: already black
    } else {
        block = static_cast<uint8_t*>(std::calloc(bytes + 64, 1));
        if (block == nullptr) {
            return false;
        }
    }
    std::memcpy(block, &length, sizeof length);
    pixels_.reset(block + 64);
    capacity_ = bytes;
    return true;
}

bool DibImage::create(int32_t width, int32_t height) {
    dropAlpha();
    const int64_t rows = height < 0 ? -int64_t{height} : int64_t{height};
    const bool sizeOk = width >= 1 && rows >= 1 && width <= kMaxImageSide &&
                        rows <= kMaxImageSide && int64_t{width} * rows <= kMaxImagePixels;
    if (!sizeOk || !allocatePixels(static_cast<size_t>(strideFor(width) * rows))) {
        release();
        return false;
    }
    width_ = width;
    height_ = static_cast<int32_t>(rows);
    stride_ = static_cast<int32_t>(strideFor(width));
    return true;
}

void DibImage::swapPixels(DibImage& other) noexcept {
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    std::swap(stride_, other.stride_);
    std::swap(pixels_, other.pixels_);
    std::swap(capacity_, other.capacity_);
    std::swap(alpha_, other.alpha_);
}

bool DibImage::createAlpha() {
    if (!hasPixels()) {
        return false;
    }
    const size_t bytes = static_cast<size_t>(width_) * height_;
    try {
        alpha_ = std::make_unique_for_overwrite<uint8_t[]>(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::memset(alpha_.get(), 255, bytes);
    return true;
}

bool DibImage::copyAlphaFrom(const DibImage& other, int32_t sx, int32_t sy) {
    if (!other.hasAlpha()) {
        dropAlpha();
        return true;
    }
    if (!createAlpha()) {
        return false;
    }
    for (int32_t y = 0; y < height_; ++y) {
        std::memcpy(alphaRow(y), other.alphaRow(sy + y) + sx, static_cast<size_t>(width_));
    }
    return true;
}

void DibImage::dropAlphaIfOpaque() noexcept {
    const size_t bytes = alphaBytes();
    const uint8_t* plane = alpha_.get();
    if (bytes > 0 && std::all_of(plane, plane + bytes, [](uint8_t a) { return a == 255; })) {
        dropAlpha();
    }
}

void DibImage::release() {
    pixels_.reset();
    alpha_.reset();
    capacity_ = 0;
    width_ = 0;
    height_ = 0;
    stride_ = 0;
}

void DibImage::fillBlack() {
    if (hasPixels()) {
        std::memset(bits(), 0, static_cast<size_t>(stride_) * height_);
    }
}

void DibImage::fillColor(uint32_t color) {
    if (!hasPixels()) {
        return;
    }
    for (int32_t y = 0; y < height_; ++y) {
        uint8_t* p = row(y);
        for (int32_t x = 0; x < width_; ++x) {
            writePixel(p + 3 * x, color);
        }
    }
}

void DibImage::copyFrom(int32_t x, int32_t y, const DibImage& other) {
    copyRectFrom(x, y, other.width(), other.height(), other, 0, 0);
}

void DibImage::copyRectFrom(int32_t x, int32_t y, int32_t w, int32_t h, const DibImage& other,
                            int32_t sx, int32_t sy) {
    if (!hasPixels() || !other.hasPixels()) {
        return;
    }
    // Clip the rectangle against the source, then against this image.
    int64_t x0 = x, y0 = y, sx0 = sx, sy0 = sy, cw = w, ch = h;
    auto clipLow = [](int64_t& pos, int64_t& other, int64_t& len) {
        if (pos < 0) {
            other -= pos;
            len += pos;
            pos = 0;
        }
    };
    clipLow(sx0, x0, cw);
    clipLow(sy0, y0, ch);
    clipLow(x0, sx0, cw);
    clipLow(y0, sy0, ch);
    cw = std::min({cw, int64_t{other.width()} - sx0, int64_t{width_} - x0});
    ch = std::min({ch, int64_t{other.height()} - sy0, int64_t{height_} - y0});
    if (cw <= 0 || ch <= 0) {
        return;
    }
    for (int64_t r = 0; r < ch; ++r) {
        std::memmove(row(static_cast<int32_t>(y0 + r)) + 3 * x0,
                     other.row(static_cast<int32_t>(sy0 + r)) + 3 * sx0,
                     static_cast<size_t>(3 * cw));
    }
}

void DibImage::stretchFrom(PixelRect to, const DibImage& other, PixelRect from) {
    const auto [x, y, w, h] = to;
    const auto [sx, sy, sw, sh] = from;
    if (!hasPixels() || !other.hasPixels() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    const int32_t colStart = std::max(0, -x);
    const int32_t colEnd = static_cast<int32_t>(std::min<int64_t>(w, int64_t{width_} - x));
    const int32_t rowStart = std::max(0, -y);
    const int32_t rowEnd = static_cast<int32_t>(std::min<int64_t>(h, int64_t{height_} - y));
    if (colStart >= colEnd || rowStart >= rowEnd) {
        return;
    }
    // Source column of every destination column, computed once (pixel centres).
    std::unique_ptr<int32_t[]> sourceOffset(new (std::nothrow) int32_t[colEnd - colStart]);
    if (!sourceOffset) {
        return;
    }
    int32_t validCols = 0;
    for (int32_t c = colStart; c < colEnd; ++c) {
        const int64_t srcX = sx + (int64_t{2 * c + 1} * sw) / (int64_t{2} * w);
        if (srcX < 0 || srcX >= other.width()) {
            sourceOffset[c - colStart] = -1;
        } else {
            sourceOffset[c - colStart] = static_cast<int32_t>(3 * srcX);
            ++validCols;
        }
    }
    if (validCols == 0) {
        return;
    }
    for (int32_t r = rowStart; r < rowEnd; ++r) {
        const int64_t srcY = sy + (int64_t{2 * r + 1} * sh) / (int64_t{2} * h);
        if (srcY < 0 || srcY >= other.height()) {
            continue;
        }
        const uint8_t* src = other.row(static_cast<int32_t>(srcY));
        uint8_t* dst = row(y + r);
        for (int32_t c = colStart; c < colEnd; ++c) {
            const int32_t offset = sourceOffset[c - colStart];
            if (offset >= 0) {
                std::memcpy(dst + 3 * (int64_t{x} + c), src + offset, 3);
            }
        }
    }
}

PixelRect fitPlacement(int32_t boxWidth, int32_t boxHeight, int32_t width, int32_t height) {
    const int32_t W = boxWidth, H = boxHeight, w = width, h = height;
    if (w < W && h < H) {
        return {(W - w) / 2, (H - h) / 2, w, h};
    }
    int64_t fw = int64_t{w} * H / h;
    int64_t fh = H;
    if (fw > W) {
        fw = W;
        fh = int64_t{h} * W / w;
    }
    return {static_cast<int32_t>((W - fw) / 2), static_cast<int32_t>((H - fh) / 2),
            static_cast<int32_t>(fw), static_cast<int32_t>(fh)};
}

void DibImage::fitFrom(const DibImage& other) {
    const int32_t w = other.width(), h = other.height();
    if (w < 1 || h < 1) {
        return;
    }
    const PixelRect placed = fitPlacement(width_, height_, w, h);
    if (placed.width == w && placed.height == h) {
        copyRectFrom(placed.x, placed.y, w, h, other, 0, 0);
        return;
    }
    stretchFrom(placed, other, {0, 0, w, h});
}

bool DibImage::loadPackedDib(const uint8_t* data, size_t length) {
    constexpr size_t kHeaderSize = 40;
    if (data == nullptr || length <= kHeaderSize || readLe32(data + 16) != 0) {
        return false;
    }
    const auto width = static_cast<int32_t>(readLe32(data + 4));
    const auto height = static_cast<int32_t>(readLe32(data + 8));
    const int bpp = readLe16(data + 14);
    size_t dataOffset = 0;
    switch (bpp) {
    case 1:
        dataOffset = 48;
        break;
    case 4:
        dataOffset = 104;
        break;
    case 8:
        dataOffset = 1064;
        break;
    case 24:
        dataOffset = 40;
        break;
    default:
        break;
    }
    // Check the buffer before allocating: a short header must not make a huge image.
    const int64_t rows = height < 0 ? -int64_t{height} : int64_t{height};
    const int64_t rowSize = width > 0 ? ((int64_t{width} * bpp + 31) >> 3) & ~int64_t{3} : 0;
    if (dataOffset == 0 || width < 1 || rows < 1 || rowSize > static_cast<int64_t>(length) ||
        rows > static_cast<int64_t>(length) ||
        static_cast<uint64_t>(rows) * static_cast<uint64_t>(rowSize) + dataOffset > length) {
        return false;
    }
    if (!create(width, height)) {
        return false;
    }
    const uint8_t* pixels = data + dataOffset;
    if (bpp == 24) {
        for (int64_t i = 0; i < rows; ++i) {
            std::memcpy(row(static_cast<int32_t>(rows - 1 - i)), pixels + i * rowSize,
                        static_cast<size_t>(3) * width);
        }
        return true;
    }
    // The colour table lies between the header and the pixel data.
    const IndexedPalette palette({data + kHeaderSize, dataOffset - kHeaderSize}, bpp);
    for (int64_t i = 0; i < rows; ++i) {
        palette.expandRow(pixels + i * rowSize, row(static_cast<int32_t>(rows - 1 - i)), width);
    }
    return true;
}

} // namespace velmora::image
