#include "codecs/bmp/bmp_reader.h"

#include "codecs/bmp/bmp_bitfields.h"
#include "codecs/bmp/bmp_header.h"
#include "codecs/bmp/bmp_layout.h"
#include "codecs/bmp/bmp_rle.h"
#include "codecs/bmp/bmp_rows.h"
#include "codecs/readers.h"
#include "platform/regular_file.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <sys/stat.h>

namespace velmora::codecs::bmp {
namespace {

static_assert(sizeof(Palette) == 1024, "the colour table is read as one block");

class MemorySource final : public ByteSource {
  public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint64_t size() const override { return size_; }
    bool read(uint8_t* destination, size_t length) override {
        if (length > size_ - position_) {
            return false;
        }
        std::memcpy(destination, data_ + position_, length);
        position_ += length;
        return true;
    }
    bool skip(uint64_t length) override {
        if (length > size_ - position_) {
            return false;
        }
        position_ += static_cast<size_t>(length);
        return true;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

using platform::FilePtr;

class FileSource final : public ByteSource {
  public:
    FileSource(FilePtr file, uint64_t size) : file_(std::move(file)), size_(size) {}
    uint64_t size() const override { return size_; }
    bool read(uint8_t* destination, size_t length) override {
        return std::fread(destination, 1, length, file_.get()) == length;
    }
    bool skip(uint64_t length) override {
        if (length == 0) {
            return true; // a seek would drop the stream's buffer and misalign every later read
        }
        const auto position = ftello(file_.get());
        return position >= 0 && length <= size_ - static_cast<uint64_t>(position) &&
               fseeko(file_.get(), static_cast<off_t>(length), SEEK_CUR) == 0;
    }

  private:
    FilePtr file_;
    uint64_t size_;
};

// Stdio buffer for bitmap files: rows of a few kilobytes are served from it with few reads.
constexpr size_t kReadBuffer = size_t{64} << 10;

// Opens a regular file for reading; nothing (and no message) when that is not possible.
std::unique_ptr<FileSource> openFile(std::u16string_view devicePath) {
    FilePtr file = platform::openRegularFile(devicePath);
    struct stat info {};
    if (!file || fstat(fileno(file.get()), &info) != 0) {
        return nullptr;
    }
    std::setvbuf(file.get(), nullptr, _IOFBF, kReadBuffer);
    return std::make_unique<FileSource>(std::move(file), static_cast<uint64_t>(info.st_size));
}

// Image row of the k-th stored row.
int32_t imageRow(const BmpLayout& layout, int32_t k) {
    return layout.topDown ? k : layout.height - 1 - k;
}

std::unique_ptr<uint8_t[]> allocate(uint64_t bytes) {
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]());
}

// Reads every stored row into a row buffer and has convert(row, imageRow) turn it into pixels.
template <typename Convert>
bool readRows(image::DibImage& image, ByteSource& source, const BmpLayout& layout,
              const Convert& convert) {
    const auto row = allocate(layout.rowBytes);
    if (!row) {
        return false;
    }
    for (int32_t k = 0; k < layout.height; ++k) {
        if (!source.read(row.get(), static_cast<size_t>(layout.rowBytes))) {
            return false;
        }
        convert(row.get(), image.row(imageRow(layout, k)));
    }
    return true;
}

// 24-bit rows have the image's own layout: read in place.
bool readBgrRows(image::DibImage& image, ByteSource& source, const BmpLayout& layout) {
    for (int32_t k = 0; k < layout.height; ++k) {
        if (!source.read(image.row(imageRow(layout, k)), static_cast<size_t>(layout.rowBytes))) {
            return false;
        }
    }
    return true;
}

// Run-length data up to the end of the file, expanded into indices (0 where it writes nothing)
// and then looked up in the palette row by row.
bool readRleRows(image::DibImage& image, ByteSource& source, const BmpLayout& layout,
                 const Palette& palette) {
    const uint64_t dataBytes = source.size() - layout.pixelOffset;
    const uint64_t width = static_cast<uint64_t>(layout.width);
    const auto data = allocate(dataBytes);
    const auto indices = allocate(width * static_cast<uint64_t>(layout.height));
    if (!data || !indices || !source.read(data.get(), static_cast<size_t>(dataBytes))) {
        return false;
    }
    const RleDepth depth = layout.coding == PixelCoding::Rle4 ? RleDepth::Four : RleDepth::Eight;
    if (!expandRle({data.get(), static_cast<size_t>(dataBytes)}, depth, layout.width, layout.height,
                   indices.get())) {
        return false;
    }
    for (int32_t k = 0; k < layout.height; ++k) {
        convertRow(8, indices.get() + k * width, image.row(imageRow(layout, k)), layout.width,
                   palette);
    }
    return true;
}

bool readPixels(image::DibImage& image, ByteSource& source, const BmpLayout& layout,
                const Palette& palette) {
    switch (layout.coding) {
    case PixelCoding::Bgr:
        return readBgrRows(image, source, layout);
    case PixelCoding::Masked: {
        const MaskedRowConverter masked(layout.masks, layout.bitsPerPixel);
        return readRows(image, source, layout, [&](const uint8_t* row, uint8_t* pixels) {
            masked.convert(row, pixels, layout.width);
        });
    }
    case PixelCoding::Indexed:
    case PixelCoding::Bgr555:
    case PixelCoding::Bgrx:
        return readRows(image, source, layout, [&](const uint8_t* row, uint8_t* pixels) {
            convertRow(layout.bitsPerPixel, row, pixels, layout.width, palette);
        });
    case PixelCoding::Rle8:
    case PixelCoding::Rle4:
        return readRleRows(image, source, layout, palette);
    }
    return false;
}

// Reads the headers, from the first 54 bytes on as far as they go; nothing for a file that is
// not a bitmap or is cut inside them.
std::optional<BmpInfo> readHeaders(ByteSource& source) {
    std::array<uint8_t, kMaxHeadersSize> bytes{};
    if (source.size() < kHeadersSize || !source.read(bytes.data(), kFileHeaderSize) ||
        parseHeaders(bytes).signature != kSignature ||
        !source.read(bytes.data() + kFileHeaderSize, kInfoHeaderSize)) {
        return std::nullopt;
    }
    const size_t length = headerBytesFor(parseHeaders({bytes.data(), kHeadersSize}));
    if (!source.read(bytes.data() + kHeadersSize, length - kHeadersSize)) {
        return std::nullopt;
    }
    return parseHeaders({bytes.data(), length});
}

} // namespace

LoadResult decodeBmp(image::DibImage& image, ByteSource& source) {
    const auto info = readHeaders(source);
    // Everything the headers promise is checked against the file before the image is made.
    const auto layout = info ? planLayout(*info, source.size()) : std::nullopt;
    if (!layout) {
        return {LoadCause::Faulty};
    }
    if (!image.create(layout->width, layout->height)) {
        return {LoadCause::OutOfMemory};
    }
    // The table follows the headers just read; entries it does not hold stay black.
    Palette palette{};
    const uint64_t tableBytes = 4 * uint64_t{layout->tableEntries};
    if (!source.read(palette.data()->data(), static_cast<size_t>(tableBytes)) ||
        !source.skip(layout->pixelOffset - layout->tableOffset - tableBytes) ||
        !readPixels(image, source, *layout, palette)) {
        image.release(); // run-length data may break off after the image was made
        return {LoadCause::Faulty};
    }
    return {LoadCause::Loaded};
}

LoadResult decodeBmpFromMemory(image::DibImage& image, const uint8_t* data, size_t size) {
    MemorySource source(data, data != nullptr ? size : 0);
    return decodeBmp(image, source);
}

} // namespace velmora::codecs::bmp

namespace velmora::codecs {

LoadResult loadBmp(image::DibImage& image, std::u16string_view path) {
    const auto source = bmp::openFile(path);
    return source ? bmp::decodeBmp(image, *source) : LoadResult{LoadCause::CannotOpen};
}

} // namespace velmora::codecs
