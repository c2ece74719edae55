// Value bytes <-> numbers and text: REG_DWORD is 4 little-endian bytes, REG_SZ is UTF-16LE.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

std::vector<uint8_t> dwordBytes(uint32_t number);
// The number when the data is exactly 4 bytes.
std::optional<uint32_t> dwordFromBytes(std::span<const uint8_t> data);

// The code units little-endian, without a terminator.
std::vector<uint8_t> textBytes(std::u16string_view text);
// The text up to the first NUL code unit or the end of the data; an odd last byte counts as a
// code unit whose high byte is zero.
std::u16string textFromBytes(std::span<const uint8_t> data);

} // namespace velmora::platform
