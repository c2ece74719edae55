// Command identifiers served by the file controllers (save, copy, move, delete, mail and network
// folder). app/command_ids.h refers to these, so each number is defined once.
#pragma once

namespace velmora::fileops {

inline constexpr int kCmdNetworkConnect = 40058;
inline constexpr int kCmdNetworkDisconnect = 40059;
inline constexpr int kCmdSave = 40071;
inline constexpr int kCmdCopy = 40072;
inline constexpr int kCmdMove = 40073;
inline constexpr int kCmdDelete = 40074;
inline constexpr int kCmdMail = 40080;

} // namespace velmora::fileops
