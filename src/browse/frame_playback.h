// FramePlayback: the order an animation's frames are shown in. It takes frames from a source one
// at a time, rewinds it after the last frame for as many plays as the file asks for, and ends on
// the last good frame when a frame cannot be decoded. It holds no frame itself.
#pragma once

#include "codecs/frame_source.h"
#include "image/dib_image.h"

#include <memory>
#include <optional>

namespace velmora::browse {

class FramePlayback {
  public:
    explicit FramePlayback(std::unique_ptr<codecs::FrameSource> source);

    [[nodiscard]] int frameCount() const { return source_->frameCount(); }

    // Puts the frame to show next into frame and gives how long it stays, in milliseconds;
    // nothing once playing has ended (frame is then left as it was).
    [[nodiscard]] std::optional<int> next(image::DibImage& frame);

  private:
    std::unique_ptr<codecs::FrameSource> source_;
    int playsDone_ = 0;
    bool ended_ = false;
};

} // namespace velmora::browse
