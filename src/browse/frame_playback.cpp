#include "browse/frame_playback.h"

namespace velmora::browse {

FramePlayback::FramePlayback(std::unique_ptr<codecs::FrameSource> source)
    : source_(std::move(source)) {}

std::optional<int> FramePlayback::next(image::DibImage& frame) {
    int delayMs = 0;
    codecs::FrameStep step = ended_ ? codecs::FrameStep::Broken : source_->next(frame, delayMs);
    if (step == codecs::FrameStep::End) {
        ++playsDone_;
        const int plays = source_->playCount();
        if (plays == codecs::kPlayForever || playsDone_ < plays) {
            source_->rewind();
            step = source_->next(frame, delayMs);
        }
    }
    if (step != codecs::FrameStep::Frame) {
        ended_ = true;
        return std::nullopt;
    }
    return delayMs;
}

} // namespace velmora::browse
