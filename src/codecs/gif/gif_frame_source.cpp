#include "codecs/gif/gif_frame_source.h"

#include "codecs/gif/gif_lzw.h"
#include "codecs/gif/gif_pixel_writer.h"
#include "codecs/packed_bitmap.h"

#include <algorithm>
#include <new>

namespace velmora::codecs::gif {
namespace {

constexpr int kMaxCodeSize = 8;
constexpr int kDisposeToBackground = 2;
constexpr int kDisposeToPrevious = 3;

// The colours of each index as the still picture shows them: the table's entries, an index
// taken modulo the canvas depth and entries past the table black; without any table, entry 1
// white and the rest black.
FramePalette paletteOf(std::span<const uint8_t> file, const ScreenDescriptor& screen,
                       const ImageDescriptor& image) {
    FramePalette palette{};
    std::array<uint8_t, 256 * 3> table{};
    const bool local = image.hasLocalTable;
    const int sizeField = local ? image.sizeField : screen.sizeField;
    if (local || screen.hasGlobalTable) {
        const uint8_t* rgb = file.data() + (local ? image.localTable : screen.globalTable);
        for (int i = 0; i < (2 << sizeField); ++i, rgb += 3) {
            table[3 * i] = rgb[2];
            table[3 * i + 1] = rgb[1];
            table[3 * i + 2] = rgb[0];
        }
    } else {
        table[3] = table[4] = table[5] = 0xFF;
    }
    const int mask = (1 << outputBitsFor(sizeField + 1)) - 1;
    for (int i = 0; i < 256; ++i) {
        std::copy_n(table.begin() + 3 * (i & mask), 3, palette.begin() + 3 * i);
    }
    return palette;
}

} // namespace

std::unique_ptr<GifFrameSource> GifFrameSource::open(FileBytes file) {
    if (file.cause != LoadCause::Loaded) {
        return nullptr;
    }
    std::unique_ptr<GifFrameSource> source(new (std::nothrow) GifFrameSource(std::move(file)));
    if (!source || !source->scan()) {
        return nullptr;
    }
    return source;
}

// Counts the images and reads the loop count and whether any image has a transparent index.
bool GifFrameSource::scan() {
    if (walker_.readHeader(screen_) != LoadStatus::Decoded || screen_.width == 0 ||
        screen_.height == 0 || exceedsImageLimits(screen_.width, screen_.height)) {
        return false;
    }
    ImageDescriptor image;
    while (walker_.nextImage(image) == BlockWalker::Block::Image && walker_.skipImageData()) {
        ++frameCount_;
        transparency_ = transparency_ || image.transparentIndex >= 0;
    }
    const int loops = walker_.loopCount();
    playCount_ = loops == kNoLoopCount ? 1 : loops == 0 ? kPlayForever : loops + 1;
    if (!canvas_.create(screen_.width, screen_.height, transparency_)) {
        return false;
    }
    rewind();
    return true;
}

void GifFrameSource::rewind() {
    walker_ = BlockWalker(file_.bytes());
    (void)walker_.readHeader(screen_); // read once already
    framesGiven_ = 0;
    disposal_ = 0;
}

void GifFrameSource::dispose() {
    if (disposal_ == kDisposeToBackground) {
        canvas_.clearRect(drawn_);
    } else if (disposal_ == kDisposeToPrevious) {
        canvas_.restore();
    }
    disposal_ = 0;
}

FrameStep GifFrameSource::next(image::DibImage& frame, int& delayMs) {
    ImageDescriptor image;
    const BlockWalker::Block block = walker_.nextImage(image);
    if (block != BlockWalker::Block::Image) {
        return block == BlockWalker::Block::Trailer && framesGiven_ > 0 ? FrameStep::End
                                                                        : FrameStep::Broken;
    }
    dispose();
    if (framesGiven_ == 0) {
        // The screen as the still picture fills it: the background index in the first image's
        // colours, transparent when that is the image's transparent index.
        const FramePalette palette = paletteOf(file_.bytes(), screen_, image);
        std::array<uint8_t, 3> background{};
        std::copy_n(palette.begin() + 3 * screen_.background, 3, background.begin());
        canvas_.start(background, screen_.background == image.transparentIndex);
    }
    if (const FrameStep drawn = drawImage(image); drawn != FrameStep::Frame) {
        return drawn;
    }
    if (!walker_.skipImageData()) {
        return FrameStep::Broken;
    }
    if (!canvas_.copyTo(frame)) {
        return FrameStep::NoMemory;
    }
    ++framesGiven_;
    delayMs = shownDelayMs(image.delay * 10);
    return FrameStep::Frame;
}

FrameStep GifFrameSource::drawImage(const ImageDescriptor& image) {
    if (image.left + image.width > screen_.width || image.top + image.height > screen_.height ||
        (!image.hasLocalTable && !screen_.hasGlobalTable && screen_.sizeField >= 2)) {
        return FrameStep::Broken;
    }
    const auto data = walker_.rest();
    if (data.empty() || data[0] > kMaxCodeSize) {
        return FrameStep::Broken;
    }
    const FrameRect rect{image.left, image.top, image.width, image.height};
    if (image.disposal == kDisposeToPrevious && !canvas_.save(rect)) {
        return FrameStep::NoMemory;
    }
    if (rect.width > 0 && rect.height > 0) {
        PackedBitmap indices;
        if (!indices.allocate(rect.width, rect.height, 8)) {
            return FrameStep::NoMemory;
        }
        PixelWriter writer(indices, 8, {0, 0, rect.width, rect.height, image.interlaced});
        if (!decodeImageData(data.subspan(1), data[0], writer)) {
            return FrameStep::NoMemory;
        }
        if (!writer.full()) {
            return FrameStep::Broken;
        }
        canvas_.draw(
            rect, [&indices](int y) { return indices.pictureRow(y); },
            paletteOf(file_.bytes(), screen_, image), image.transparentIndex, framesGiven_ == 0);
    }
    disposal_ = image.disposal;
    drawn_ = rect;
    return FrameStep::Frame;
}

} // namespace velmora::codecs::gif
