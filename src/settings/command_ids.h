// Command identifiers served by the settings controller. app/command_ids.h refers to these, so
// each number is defined once.
#pragma once

namespace velmora::settings {

inline constexpr int kCmdSettings = 40024;

} // namespace velmora::settings
