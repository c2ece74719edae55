// The picture named at start-up: cleaned like the handheld's raw command line and turned into a
// device path.
#pragma once

#include <optional>
#include <string>

namespace velmora::app {

// Trims spaces and tabs from both ends; then, when at least 3 characters remain, drops a leading
// double quote and a leading single quote; when still at least 3 remain, a trailing double quote
// and a trailing single quote.
std::u16string trimAndUnquote(std::u16string_view commandLine);

// The device path of a host path (relative paths are taken from the working folder); nothing
// when the text is empty or the path lies outside the device root.
std::optional<std::u16string> startupDevicePath(std::u16string_view hostPath);

} // namespace velmora::app
