// The frames of an animated WebP through the library's animation decoder, which composes each
// on the canvas with its blending and disposal. The loop count is the file's (0 without end);
// the delays follow shownDelayMs. Each frame gets the corrections the still picture gets (its
// ICCP profile, its EXIF orientation), so that it matches the first frame shown.
#pragma once

#include "codecs/file_bytes.h"
#include "codecs/frame_source.h"

#include <memory>

namespace velmora::codecs::webp {

// nullptr for a file that is not an animated WebP the decoder takes, or is over the image limits.
std::unique_ptr<FrameSource> openWebpFrames(FileBytes file);

} // namespace velmora::codecs::webp
