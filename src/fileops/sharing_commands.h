// Command identifiers served by the sharing controllers (mail and network folder).
#pragma once

namespace velmora::fileops {

inline constexpr int kCmdNetworkConnect = 40058;
inline constexpr int kCmdNetworkDisconnect = 40059;
inline constexpr int kCmdMail = 40080;

} // namespace velmora::fileops
