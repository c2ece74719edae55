// The tick counter: milliseconds since the program started, from a steady clock. It wraps
// around after about 49.7 days, so compare ticks by unsigned difference.
#pragma once

#include <cstdint>

namespace velmora::platform {

uint32_t tickCount();

} // namespace velmora::platform
