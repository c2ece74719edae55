// The frames of an AVIF image sequence through the library's decoder, each a whole picture.
// The library this program builds with does not read a repetition count: sequences play
// without end, as browsers play them when none is given. Delays come from each frame's
// duration, following shownDelayMs. Each frame gets the corrections the still picture gets.
#pragma once

#include "codecs/file_bytes.h"
#include "codecs/frame_source.h"

#include <memory>

namespace velmora::codecs::avif {

// nullptr for a file the library does not take, or one over the image limits.
std::unique_ptr<FrameSource> openAvifFrames(FileBytes file);

} // namespace velmora::codecs::avif
