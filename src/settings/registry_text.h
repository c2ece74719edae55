// Small helpers for the settings' registry values: text reads and numbered names.
#pragma once

#include "platform/registry.h"

#include <string>
#include <string_view>

namespace velmora::settings {

// Text of at most 256 bytes, up to its first NUL; empty when missing or longer.
std::u16string readRegistryText(const platform::RegistryKey& key, std::u16string_view name);

// prefix followed by number in decimal ("LASTFILE" and 2 give "LASTFILE2").
std::u16string withNumber(std::u16string_view prefix, int number);

} // namespace velmora::settings
