#include "codecs/gif/gif_frame_source.h"

#include "codecs/gif/gif_lzw.h"
#include "codecs/gif/gif_pixel_writer.h"
#include "codecs/packed_bitmap.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace velmora::codecs::gif {
namespace {

constexpr int kMaxCodeSize = 8;
constexpr int kDisposeToBackground = 2;
constexpr int kDisposeToPrevious = 3;
constexpr size_t kFirstWindow = size_t{64} << 10; // doubled while a block needs more

// The colours of each index as the still picture shows them: the table's entries (red, green,
// blue at rgb; null for no table), an index taken modulo the canvas depth and entries past the
// table black; without any table, entry 1 white and the rest black.
FramePalette paletteOf(const uint8_t* rgb, int sizeField) {
    std::array<uint8_t, 256 * 3> table{};
    if (rgb != nullptr) {
        for (int i = 0; i < (2 << sizeField); ++i, rgb += 3) {
            table[3 * i] = rgb[2];
            table[3 * i + 1] = rgb[1];
            table[3 * i + 2] = rgb[0];
        }
    } else {
        table[3] = table[4] = table[5] = 0xFF;
    }
    FramePalette palette{};
    const int mask = (1 << outputBitsFor(sizeField + 1)) - 1;
    for (int i = 0; i < 256; ++i) {
        std::memcpy(&palette[i], table.data() + 3 * (i & mask), 3);
    }
    return palette;
}

} // namespace

std::unique_ptr<GifFrameSource> GifFrameSource::open(std::unique_ptr<ByteReader> reader) {
    if (!reader) {
        return nullptr;
    }
    std::unique_ptr<GifFrameSource> source(new (std::nothrow) GifFrameSource(std::move(reader)));
    if (!source || !source->readHeader()) {
        return nullptr;
    }
    source->scan();
    return source;
}

bool GifFrameSource::fill(size_t bytes) {
    const size_t held = window_.size();
    if (held >= bytes || windowAtEnd_) {
        return true;
    }
    try {
        window_.resize(bytes);
    } catch (const std::bad_alloc&) {
        window_.resize(held);
        return false;
    }
    const size_t read =
        reader_->readAt(windowStart_ + held, std::span(window_).subspan(held, bytes - held));
    if (read < bytes - held) {
        window_.resize(held + read);
        windowAtEnd_ = true;
    }
    return true;
}

bool GifFrameSource::readHeader() {
    for (size_t want = kFirstWindow;; want *= 2) {
        if (!fill(want)) {
            return false;
        }
        BlockWalker walker(window_);
        if (walker.readHeader(screen_) == LoadStatus::Decoded) {
            if (screen_.hasGlobalTable) {
                std::copy_n(window_.begin() + static_cast<ptrdiff_t>(screen_.globalTable),
                            colorTableBytes(screen_.sizeField), globalTable_.begin());
            }
            firstBlock_ = window_.size() - walker.rest().size();
            return screen_.width > 0 && screen_.height > 0 &&
                   !exceedsImageLimits(screen_.width, screen_.height);
        }
        if (windowAtEnd_) {
            return false;
        }
    }
}

// Counts the images and reads the loop count and whether any image has a transparent index.
void GifFrameSource::scan() {
    rewind();
    for (;;) {
        ImageDescriptor image;
        std::span<const uint8_t> data;
        const BlockWalker::Block block = nextBlock(image, data);
        if (block != BlockWalker::Block::Image) {
            break;
        }
        ++frameCount_;
        transparency_ = transparency_ || image.transparentIndex >= 0;
    }
    playCount_ = loopCount_ == kNoLoopCount ? 1 : loopCount_ == 0 ? kPlayForever : loopCount_ + 1;
    rewind();
}

void GifFrameSource::rewind() {
    window_.clear();
    taken_ = 0;
    windowStart_ = firstBlock_;
    windowAtEnd_ = false;
    framesGiven_ = 0;
    disposal_ = 0;
}

BlockWalker::Block GifFrameSource::nextBlock(ImageDescriptor& image,
                                             std::span<const uint8_t>& data) {
    // The block after the one taken last: what came before leaves the window.
    window_.erase(window_.begin(), window_.begin() + static_cast<ptrdiff_t>(taken_));
    windowStart_ += taken_;
    taken_ = 0;
    for (size_t want = std::max(kFirstWindow, window_.size());; want *= 2) {
        if (!fill(want)) {
            return BlockWalker::Block::Broken;
        }
        BlockWalker walker(window_);
        const BlockWalker::Block block = walker.nextImage(image);
        if (walker.loopCount() != kNoLoopCount) {
            loopCount_ = walker.loopCount();
        }
        if (block == BlockWalker::Block::Trailer) {
            return block;
        }
        const size_t dataStart = window_.size() - walker.rest().size();
        if (block == BlockWalker::Block::Image && walker.skipImageData()) {
            taken_ = window_.size() - walker.rest().size();
            data = std::span(window_).subspan(dataStart, taken_ - dataStart);
            return block;
        }
        if (windowAtEnd_) {
            return BlockWalker::Block::Broken;
        }
    }
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
    std::span<const uint8_t> data;
    const BlockWalker::Block block = nextBlock(image, data);
    if (block != BlockWalker::Block::Image) {
        return block == BlockWalker::Block::Trailer && framesGiven_ > 0 ? FrameStep::End
                                                                        : FrameStep::Broken;
    }
    dispose();
    if (const FrameStep drawn = drawImage(image, data); drawn != FrameStep::Frame) {
        return drawn;
    }
    if (!canvas_.copyTo(frame)) {
        return FrameStep::NoMemory;
    }
    ++framesGiven_;
    delayMs = shownDelayMs(image.delay * 10);
    return FrameStep::Frame;
}

FrameStep GifFrameSource::drawImage(const ImageDescriptor& image, std::span<const uint8_t> data) {
    if (image.left + image.width > screen_.width || image.top + image.height > screen_.height ||
        (!image.hasLocalTable && !screen_.hasGlobalTable && screen_.sizeField >= 2) ||
        data.empty() || data[0] > kMaxCodeSize) {
        return FrameStep::Broken;
    }
    const bool local = image.hasLocalTable;
    const FramePalette palette = paletteOf(local ? window_.data() + image.localTable
                                           : screen_.hasGlobalTable ? globalTable_.data()
                                                                    : nullptr,
                                           local ? image.sizeField : screen_.sizeField);
    if (framesGiven_ == 0) {
        // The canvas is made for the first frame: a source opened only to count frames needs none.
        if (!canvas_.created() && !canvas_.create(screen_.width, screen_.height, transparency_)) {
            return FrameStep::NoMemory;
        }
        // The screen as the still picture fills it: the background index in the first image's
        // colours, transparent when that is the image's transparent index.
        std::array<uint8_t, 3> background{};
        std::memcpy(background.data(), &palette[screen_.background], 3);
        canvas_.start(background, screen_.background == image.transparentIndex);
    }
    const FrameRect rect{image.left, image.top, image.width, image.height};
    if (image.disposal == kDisposeToPrevious && !canvas_.save(rect)) {
        return FrameStep::NoMemory;
    }
    if (rect.width > 0 && rect.height > 0) {
        // Every index is written before the frame is drawn: a block of the same size is reused.
        if ((rect.width != indicesWidth_ || rect.height != indices_.height()) &&
            !indices_.allocate(rect.width, rect.height, 8)) {
            indicesWidth_ = 0;
            return FrameStep::NoMemory;
        }
        indicesWidth_ = rect.width;
        PackedBitmap& indices = indices_;
        PixelWriter writer(indices, 8, {0, 0, rect.width, rect.height, image.interlaced});
        if (!decodeImageData(data.subspan(1), data[0], writer)) {
            return FrameStep::NoMemory;
        }
        if (!writer.full()) {
            return FrameStep::Broken;
        }
        canvas_.draw(
            rect, [&indices](int y) { return indices.pictureRow(y); }, palette,
            image.transparentIndex, framesGiven_ == 0);
    }
    disposal_ = image.disposal;
    drawn_ = rect;
    return FrameStep::Frame;
}

} // namespace velmora::codecs::gif
