// Command identifiers served by the browse controller. app/command_ids.h refers to these, so each
// number is defined once.
#pragma once

namespace velmora::browse {

inline constexpr int kCmdOpen = 40010;

} // namespace velmora::browse
