// The folder of the program's own executable as a device path.
#pragma once

#include <string>

namespace velmora::platform {

// Ends with '\'; the device root "\" when the executable lies outside the root.
std::u16string programFolder();

} // namespace velmora::platform
