// Command identifiers served by the edit controller. app/command_ids.h refers to these, so each
// number is defined once.
#pragma once

namespace velmora::edit {

inline constexpr int kCmdFlipVertical = 40064;
inline constexpr int kCmdFlipHorizontal = 40065;
inline constexpr int kCmdNegative = 40066;
inline constexpr int kCmdThreshold = 40067;
inline constexpr int kCmdRotateLeft = 40068;
inline constexpr int kCmdRotateRight = 40069;
inline constexpr int kCmdGrey = 40070;
inline constexpr int kCmdContrast = 40084;
inline constexpr int kCmdBrightness = 40085;
inline constexpr int kCmdTrim = 40086;
inline constexpr int kCmdBlur = 40087;
inline constexpr int kCmdResize = 40088;
inline constexpr int kCmdSharpen = 40089;
inline constexpr int kCmdEmboss = 40111;

} // namespace velmora::edit
