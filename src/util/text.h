// UTF-16 / UTF-8 conversion and small text helpers shared by the core modules.
#pragma once

#include <string>
#include <string_view>

namespace velmora::util {

std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

// ASCII-only lower-casing, enough for file-name endings.
std::u16string asciiLower(std::u16string_view text);

} // namespace velmora::util
