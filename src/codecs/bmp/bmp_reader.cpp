#include "codecs/bmp/bmp_reader.h"

#include "codecs/bmp/bmp_header.h"
#include "codecs/bmp/bmp_rows.h"
#include "codecs/readers.h"
#include "platform/regular_file.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <sys/stat.h>

namespace velmora::codecs::bmp {
namespace {

static_assert(sizeof(Palette) == 1024, "the colour table is read as one block");

bool rejectAsFaulty(const image::DibImage& image) {
    if (image.reportErrors) {
        ui::showError(ui::str::kImageFaulty);
    }
    return false;
}

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

// The file must hold the headers, the colour table and every row; checked by division so
// that no product of hostile sizes can overflow.
bool holdsAllRows(uint64_t fileSize, uint64_t tableBytes, uint64_t rowBytes, uint64_t rows) {
    const uint64_t fixed = kHeadersSize + tableBytes;
    if (fileSize < fixed) {
        return false;
    }
    return rowBytes <= (fileSize - fixed) / rows;
}

bool readRows(image::DibImage& image, ByteSource& source, int bits, uint64_t rowBytes,
              const Palette& palette) {
    const int32_t width = image.width();
    const int32_t height = image.height();
    if (bits == 24) {
        // Stored rows have the image's own layout: read them in place.
        for (int32_t k = 0; k < height; ++k) {
            if (!source.read(image.row(height - 1 - k), static_cast<size_t>(rowBytes))) {
                return false;
            }
        }
        return true;
    }
    std::unique_ptr<uint8_t[]> row(new (std::nothrow) uint8_t[rowBytes]);
    if (!row) {
        return false;
    }
    for (int32_t k = 0; k < height; ++k) {
        if (!source.read(row.get(), static_cast<size_t>(rowBytes))) {
            return false;
        }
        convertRow(bits, row.get(), image.row(height - 1 - k), width, palette);
    }
    return true;
}

} // namespace

bool decodeBmp(image::DibImage& image, ByteSource& source) {
    std::array<uint8_t, kHeadersSize> headers{};
    if (source.size() < kHeadersSize || !source.read(headers.data(), kFileHeaderSize) ||
        parseHeaders(headers).signature != kSignature ||
        !source.read(headers.data() + kFileHeaderSize, kInfoHeaderSize)) {
        return rejectAsFaulty(image);
    }
    const BmpInfo info = parseHeaders(headers);
    const int tableBytes = paletteBytesFor(info.bitsPerPixel);
    if (info.compression != 0 || info.width < 1 || info.height < 1 || tableBytes < 0) {
        return rejectAsFaulty(image);
    }
    // Everything the header promises is checked against the file before the image is made.
    const uint64_t rowBytes = rowBytesFor(static_cast<uint32_t>(info.width), info.bitsPerPixel);
    if (!holdsAllRows(source.size(), static_cast<uint64_t>(tableBytes), rowBytes,
                      static_cast<uint64_t>(info.height))) {
        return rejectAsFaulty(image);
    }
    if (!image.create(info.width, info.height)) {
        return false; // create has reported it
    }
    Palette palette{};
    if (!source.read(palette.data()->data(), static_cast<size_t>(tableBytes)) ||
        !readRows(image, source, info.bitsPerPixel, rowBytes, palette)) {
        return rejectAsFaulty(image);
    }
    return true;
}

bool decodeBmpFromMemory(image::DibImage& image, const uint8_t* data, size_t size) {
    MemorySource source(data, data != nullptr ? size : 0);
    return decodeBmp(image, source);
}

} // namespace velmora::codecs::bmp

namespace velmora::codecs {

bool loadBmp(image::DibImage& image, std::u16string_view path) {
    const auto source = bmp::openFile(path);
    return source != nullptr && bmp::decodeBmp(image, *source);
}

} // namespace velmora::codecs
