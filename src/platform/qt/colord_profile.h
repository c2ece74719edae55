// The screen's colour profile where the X root window does not publish one: colord, the system
// colour daemon, keeps a list of profiles for each display, the default one first. It is asked
// over the system bus with a short timeout per call, so a missing or stalled daemon costs at
// most that wait.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora::platform::qt {

// The ICC bytes of the default profile of colord's first display; empty without a system bus,
// without colord, without a display device or profile, or when its file cannot be read.
std::vector<uint8_t> readColordDisplayProfile();

// The X root window's _ICC_PROFILE when there is one, else colord's; empty means sRGB.
std::vector<uint8_t> readScreenProfile();

} // namespace velmora::platform::qt
