// The colour profile the desktop publishes for the screen: the _ICC_PROFILE property of the X
// root window (the X colour-management convention that colour daemons and calibration tools
// follow).
#pragma once

#include <cstdint>
#include <vector>

namespace velmora::platform {

// The profile's ICC bytes; empty without an X display or without a published profile.
std::vector<uint8_t> readDisplayProfile();

} // namespace velmora::platform
