// FrameSource: the frames of an animated picture, decoded one at a time on demand. Each frame is
// composed on the picture's canvas and handed over as a whole picture, with how long it stays.
// A source holds a canvas or two of pixels and its file's bytes (a GIF only the block being
// decoded), never the decoded frames: its memory does not grow with the frame count.
#pragma once

#include "image/dib_image.h"

#include <memory>
#include <string_view>

namespace velmora::codecs {

enum class FrameStep {
    Frame,    // the next frame is in the image
    End,      // the last frame has been given: rewind to play again
    Broken,   // the next frame cannot be decoded; the ones before stay good
    NoMemory, // no memory for the frame
};

// The play count of an animation that repeats without end.
inline constexpr int kPlayForever = 0;

class FrameSource {
  public:
    virtual ~FrameSource() = default;

    // Frames in one play.
    [[nodiscard]] virtual int frameCount() const = 0;
    // How many times the frames are played in all; kPlayForever for no end.
    [[nodiscard]] virtual int playCount() const = 0;
    // Composes the next frame and makes frame a copy of the canvas (with an alpha plane when the
    // picture has transparency); delayMs is how long it is shown. On anything but Frame, frame
    // is left as it was.
    [[nodiscard]] virtual FrameStep next(image::DibImage& frame, int& delayMs) = 0;
    // Back to before the first frame, its canvas cleared.
    virtual void rewind() = 0;
};

// How long a frame stored with delay storedMs is shown: as browsers do, a delay under 20 ms
// (which many files give meaning "as fast as possible") counts as 100 ms.
constexpr int shownDelayMs(int storedMs) {
    return storedMs < 20 ? 100 : storedMs;
}

// The frames of the animated GIF, WebP or AVIF file at path (a device path); nullptr for other
// formats, a file that cannot be read or decoded, and a picture of one frame.
std::unique_ptr<FrameSource> openFrameSource(std::u16string_view path);

} // namespace velmora::codecs
