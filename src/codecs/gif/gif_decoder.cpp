#include "codecs/gif/gif_decoder.h"

#include "codecs/gif/gif_lzw.h"
#include "codecs/gif/gif_pixel_writer.h"

#include <cstring>

namespace velmora::codecs::gif {
namespace {

constexpr int kMaxCodeSize = 8;

void writeColorTable(PackedBitmap& canvas, std::span<const uint8_t> file, size_t offset,
                     int sizeField) {
    const uint8_t* rgb = file.data() + offset;
    const int entries = 1 << (sizeField + 1);
    for (int i = 0; i < entries; ++i, rgb += 3) {
        canvas.setColor(i, rgb[0], rgb[1], rgb[2]);
    }
}

void fillBackground(PackedBitmap& canvas, int bitsPerPixel, int index) {
    uint8_t pattern = static_cast<uint8_t>(index);
    if (bitsPerPixel == 4) {
        pattern = static_cast<uint8_t>((index & 0x0F) * 0x11);
    } else if (bitsPerPixel == 1) {
        pattern = (index & 1) ? 0xFF : 0x00;
    }
    std::memset(canvas.pixels(), pattern, canvas.rowBytes() * static_cast<size_t>(canvas.height()));
}

LoadStatus decodeImage(BlockWalker& walker, std::span<const uint8_t> file,
                       const ScreenDescriptor& screen, const ImageDescriptor& image,
                       PackedBitmap& canvas) {
    if (image.left + image.width > screen.width || image.top + image.height > screen.height) {
        return LoadStatus::NotGif;
    }
    if (!image.hasLocalTable && !screen.hasGlobalTable && screen.sizeField >= 2) {
        return LoadStatus::NotGif;
    }
    uint8_t codeSize = 0;
    if (!walker.readByte(codeSize) || codeSize > kMaxCodeSize) {
        return LoadStatus::NotGif;
    }
    const int tableBits = (image.hasLocalTable ? image.sizeField : screen.sizeField) + 1;
    const int bitsPerPixel = outputBitsFor(tableBits);
    if (!canvas.allocate(screen.width, screen.height, bitsPerPixel)) {
        return LoadStatus::NoMemory;
    }
    if (image.hasLocalTable) {
        writeColorTable(canvas, file, image.localTable, image.sizeField);
    } else if (screen.hasGlobalTable) {
        writeColorTable(canvas, file, screen.globalTable, screen.sizeField);
    } else {
        canvas.setColor(1, 0xFF, 0xFF, 0xFF); // entry 0 stays black
    }
    if (screen.background != 0) {
        fillBackground(canvas, bitsPerPixel, screen.background);
    }
    const auto data = walker.rest();
    if (!data.empty() && data[0] != 0) {
        PixelWriter writer(canvas, bitsPerPixel,
                           {image.left, image.top, image.width, image.height, image.interlaced});
        if (!decodeImageData(data, codeSize, writer)) {
            canvas = PackedBitmap{};
            return LoadStatus::NoMemory;
        }
    }
    return LoadStatus::Decoded;
}

} // namespace

ScanResult gifScan(std::span<const uint8_t> file) {
    BlockWalker walker(file);
    ScreenDescriptor screen;
    ScanResult result;
    result.status = walker.readHeader(screen);
    if (result.status != LoadStatus::Decoded) {
        return result;
    }
    result.screenWidth = screen.width;
    result.screenHeight = screen.height;
    for (;;) {
        ImageDescriptor image;
        switch (walker.nextImage(image)) {
        case BlockWalker::Block::Trailer:
            return result;
        case BlockWalker::Block::Image:
            if (walker.skipImageData()) {
                continue;
            }
            [[fallthrough]];
        case BlockWalker::Block::Broken:
            result.status = LoadStatus::NotGif;
            return result;
        }
    }
}

LoadStatus gifDecode(std::span<const uint8_t> file, PackedBitmap& canvas, int imageNumber,
                     int* transparentIndex) {
    canvas = PackedBitmap{};
    BlockWalker walker(file);
    ScreenDescriptor screen;
    if (const LoadStatus status = walker.readHeader(screen); status != LoadStatus::Decoded) {
        return status;
    }
    for (int seen = 1;; ++seen) {
        ImageDescriptor image;
        switch (walker.nextImage(image)) {
        case BlockWalker::Block::Trailer:
            return LoadStatus::Decoded;
        case BlockWalker::Block::Broken:
            return LoadStatus::NotGif;
        case BlockWalker::Block::Image:
            if (seen == imageNumber) {
                if (transparentIndex != nullptr) {
                    *transparentIndex = image.transparentIndex;
                }
                return decodeImage(walker, file, screen, image, canvas);
            }
            if (!walker.skipImageData()) {
                return LoadStatus::NotGif;
            }
            break;
        }
    }
}

bool applyTransparentIndex(image::DibImage& image, const PackedBitmap& canvas,
                           int transparentIndex) {
    if (transparentIndex < 0 || canvas.empty() || image.height() != canvas.height()) {
        return true;
    }
    if (!image.createAlpha()) {
        return false;
    }
    for (int32_t y = 0; y < image.height(); ++y) {
        const uint8_t* indices = canvas.pictureRow(y);
        uint8_t* alpha = image.alphaRow(y);
        for (int32_t x = 0; x < image.width(); ++x) {
            if (canvas.indexAt(indices, x) == transparentIndex) {
                alpha[x] = 0;
            }
        }
    }
    image.dropAlphaIfOpaque();
    return true;
}

} // namespace velmora::codecs::gif
