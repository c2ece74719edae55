#include "codecs/avif/avif_frame_source.h"

#include "codecs/avif/avif_colours.h"
#include "codecs/avif/avif_orientation.h"
#include "codecs/corrections/picture_corrections.h"
#include "codecs/corrections/stored_corrections.h"
#include "codecs/packed_bitmap.h"

#include <avif/avif.h>

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace velmora::codecs::avif {
namespace {

struct DecoderDeleter {
    void operator()(avifDecoder* decoder) const { avifDecoderDestroy(decoder); }
};
using Decoder = std::unique_ptr<avifDecoder, DecoderDeleter>;

// The alpha plane of picture, at any depth, into frame's alpha rows.
bool convertAlpha(const avifImage& picture, image::DibImage& frame) {
    if (!frame.createAlpha()) {
        return false;
    }
    const uint32_t maxValue = (1u << picture.depth) - 1;
    for (uint32_t y = 0; y < picture.height; ++y) {
        const uint8_t* row = picture.alphaPlane + size_t{picture.alphaRowBytes} * y;
        uint8_t* to = frame.alphaRow(static_cast<int32_t>(y));
        for (uint32_t x = 0; x < picture.width; ++x) {
            uint32_t value = row[x];
            if (picture.depth > 8) {
                uint16_t wide = 0;
                std::memcpy(&wide, row + size_t{2} * x, 2);
                value = (std::min<uint32_t>(wide, maxValue) * 255 + maxValue / 2) / maxValue;
            }
            to[x] = static_cast<uint8_t>(value);
        }
    }
    return true;
}

class AvifFrameSource final : public FrameSource {
  public:
    AvifFrameSource(FileBytes file, Decoder decoder)
        : file_(std::move(file)), decoder_(std::move(decoder)) {}

    int frameCount() const override { return decoder_->imageCount; }
    int playCount() const override { return kPlayForever; }
    void rewind() override { (void)avifDecoderReset(decoder_.get()); }

    FrameStep next(image::DibImage& frame, int& delayMs) override {
        if (decoder_->imageIndex + 1 >= decoder_->imageCount) {
            return FrameStep::End;
        }
        const avifResult result = avifDecoderNextImage(decoder_.get());
        if (result != AVIF_RESULT_OK) {
            return result == AVIF_RESULT_OUT_OF_MEMORY ? FrameStep::NoMemory : FrameStep::Broken;
        }
        const avifImage& picture = *decoder_->image;
        if (exceedsImageLimits(picture.width, picture.height)) {
            return FrameStep::Broken;
        }
        if (!frame.create(static_cast<int32_t>(picture.width),
                          static_cast<int32_t>(picture.height))) {
            return FrameStep::NoMemory;
        }
        if (convertOpaque(picture, frame) != AVIF_RESULT_OK ||
            (picture.alphaPlane != nullptr && !convertAlpha(picture, frame))) {
            return FrameStep::Broken;
        }
        (void)applyStoredCorrections(frame, {picture.icc.data, picture.icc.size},
                                     storedOrientation(picture));
        delayMs =
            shownDelayMs(static_cast<int>(std::lround(decoder_->imageTiming.duration * 1000)));
        return FrameStep::Frame;
    }

  private:
    FileBytes file_;
    Decoder decoder_;
};

} // namespace

std::unique_ptr<FrameSource> openAvifFrames(FileBytes file) {
    Decoder decoder(avifDecoderCreate());
    if (file.cause != LoadCause::Loaded || !decoder) {
        return nullptr;
    }
    decoder->ignoreXMP = AVIF_TRUE;
    decoder->ignoreExif = pictureCorrections().upright ? AVIF_FALSE : AVIF_TRUE;
    decoder->imageSizeLimit = static_cast<uint32_t>(image::kMaxImagePixels);
    if (avifDecoderSetIOMemory(decoder.get(), file.data.get(), file.size) != AVIF_RESULT_OK ||
        avifDecoderParse(decoder.get()) != AVIF_RESULT_OK ||
        exceedsImageLimits(decoder->image->width, decoder->image->height)) {
        return nullptr;
    }
    return std::unique_ptr<FrameSource>(new (std::nothrow)
                                            AvifFrameSource(std::move(file), std::move(decoder)));
}

} // namespace velmora::codecs::avif
