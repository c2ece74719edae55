// The frames of an animated GIF by the GIF89a rules: each image drawn on the logical screen at
// its place with its own or the global colour table, its transparent index leaving what is under
// it, and its disposal (0, 1 leave it; 2 back to the background; 3 back to what was there before)
// applied before the next one. Delays follow shownDelayMs. A NETSCAPE2.0 loop count n repeats the
// frames n times after the first play, as browsers do (0 without end); without one they play once.
// A frame whose data is cut short or broken is Broken: playing stops on the frame before it.
#pragma once

#include "codecs/file_bytes.h"
#include "codecs/frame_source.h"
#include "codecs/gif/gif_blocks.h"
#include "codecs/gif/gif_frame_canvas.h"

#include <cstdint>
#include <memory>
#include <span>

namespace velmora::codecs::gif {

class GifFrameSource final : public FrameSource {
  public:
    // The frames of the GIF in file; nullptr when its header cannot be read, its screen is
    // empty or over the image limits, or no memory is left for the canvas.
    static std::unique_ptr<GifFrameSource> open(FileBytes file);

    int frameCount() const override { return frameCount_; }
    int playCount() const override { return playCount_; }
    FrameStep next(image::DibImage& frame, int& delayMs) override;
    void rewind() override;

  private:
    explicit GifFrameSource(FileBytes file) : file_(std::move(file)), walker_(file_.bytes()) {}
    [[nodiscard]] bool scan();
    FrameStep drawImage(const ImageDescriptor& image);
    void dispose();

    FileBytes file_;
    BlockWalker walker_;
    ScreenDescriptor screen_;
    FrameCanvas canvas_;
    int frameCount_ = 0;
    int playCount_ = 1;
    bool transparency_ = false;
    int framesGiven_ = 0;
    int disposal_ = 0; // of the frame last drawn, applied before the next
    FrameRect drawn_;
};

} // namespace velmora::codecs::gif
