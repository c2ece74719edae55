// Text rules of the settings sheet that need no display: the amounts typed into the movement
// page and the icon description of a hardware button in the device's shell.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::settings {

// Movement and seek amounts are 1..999 pixels.
inline constexpr int32_t kMinAmount = 1;
inline constexpr int32_t kMaxAmount = 999;

// The amount typed into an edit: a signed decimal integer (spaces around it allowed) within
// 1..999; nullopt for anything else, which leaves the setting as it was.
std::optional<int32_t> parseAmount(std::u16string_view text);

// The up-down control's next value: steps away from value, wrapping from 999 to 1 and back.
int32_t stepAmount(int32_t value, int steps);

// Where a shell "Icon" value points: a file and the icon's index in it (negative indices name
// a resource identifier).
struct IconLocation {
    std::u16string file;
    int32_t index = 0;
};

// Splits "file,index" at its first comma, trims spaces and tabs, and drops the quotes around
// either part. A value without a comma names no icon: the default button icon is shown.
std::optional<IconLocation> parseIconLocation(std::u16string_view value);

} // namespace velmora::settings
