#include "codecs/webp/webp_frame_source.h"

#include "codecs/corrections/orientation.h"
#include "codecs/corrections/stored_corrections.h"
#include "codecs/packed_bitmap.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <new>

namespace velmora::codecs::webp {
namespace {

struct AnimationDeleter {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

std::span<const uint8_t> chunkOf(const WebPDemuxer* demux, const char* fourCc) {
    WebPChunkIterator chunk;
    if (WebPDemuxGetChunk(demux, fourCc, 1, &chunk) == 0) {
        return {};
    }
    const std::span<const uint8_t> found(chunk.chunk.bytes, chunk.chunk.size);
    WebPDemuxReleaseChunkIterator(&chunk);
    return found; // points into the file's bytes
}

class WebpFrameSource final : public FrameSource {
  public:
    WebpFrameSource(FileBytes file, std::unique_ptr<WebPAnimDecoder, AnimationDeleter> decoder,
                    const WebPAnimInfo& info)
        : file_(std::move(file)), decoder_(std::move(decoder)), info_(info) {
        const WebPDemuxer* demux = WebPAnimDecoderGetDemuxer(decoder_.get());
        alpha_ = (WebPDemuxGetI(demux, WEBP_FF_FORMAT_FLAGS) & ALPHA_FLAG) != 0;
        icc_ = chunkOf(demux, "ICCP");
        const std::span<const uint8_t> exif = chunkOf(demux, "EXIF");
        orientation_ = exif.empty() ? kUpright : exifOrientation(exif);
    }

    int frameCount() const override { return static_cast<int>(info_.frame_count); }
    int playCount() const override { return static_cast<int>(info_.loop_count); }
    void rewind() override {
        WebPAnimDecoderReset(decoder_.get());
        timestamp_ = 0;
    }

    FrameStep next(image::DibImage& frame, int& delayMs) override {
        if (WebPAnimDecoderHasMoreFrames(decoder_.get()) == 0) {
            return FrameStep::End;
        }
        uint8_t* canvas = nullptr;
        int timestamp = 0;
        if (WebPAnimDecoderGetNext(decoder_.get(), &canvas, &timestamp) == 0) {
            return FrameStep::Broken;
        }
        const auto width = static_cast<int32_t>(info_.canvas_width);
        const auto height = static_cast<int32_t>(info_.canvas_height);
        if (!frame.create(width, height) || (alpha_ && !frame.createAlpha())) {
            return FrameStep::NoMemory;
        }
        for (int32_t y = 0; y < height; ++y) {
            const uint8_t* from = canvas + size_t{4} * static_cast<size_t>(width) * y;
            uint8_t* to = frame.row(y);
            uint8_t* alpha = alpha_ ? frame.alphaRow(y) : nullptr;
            for (int32_t x = 0; x < width; ++x, from += 4, to += 3) {
                std::memcpy(to, from, 3);
                if (alpha != nullptr) {
                    alpha[x] = from[3];
                }
            }
        }
        (void)applyStoredCorrections(frame, icc_, orientation_);
        delayMs = shownDelayMs(timestamp - timestamp_);
        timestamp_ = timestamp;
        return FrameStep::Frame;
    }

  private:
    FileBytes file_;
    std::unique_ptr<WebPAnimDecoder, AnimationDeleter> decoder_;
    WebPAnimInfo info_;
    bool alpha_ = false;
    std::span<const uint8_t> icc_;
    int orientation_ = kUpright;
    int timestamp_ = 0; // when the frame given last ended
};

} // namespace

std::unique_ptr<FrameSource> openWebpFrames(FileBytes file) {
    WebPAnimDecoderOptions options;
    if (file.cause != LoadCause::Loaded || WebPAnimDecoderOptionsInit(&options) == 0) {
        return nullptr;
    }
    options.color_mode = MODE_BGRA;
    const WebPData data{file.data.get(), file.size};
    std::unique_ptr<WebPAnimDecoder, AnimationDeleter> decoder(WebPAnimDecoderNew(&data, &options));
    WebPAnimInfo info;
    if (!decoder || WebPAnimDecoderGetInfo(decoder.get(), &info) == 0 ||
        exceedsImageLimits(info.canvas_width, info.canvas_height)) {
        return nullptr;
    }
    return std::unique_ptr<FrameSource>(
        new (std::nothrow) WebpFrameSource(std::move(file), std::move(decoder), info));
}

} // namespace velmora::codecs::webp
