// Command identifiers: the numbers of the menu resources. Menu items, bar buttons, the pop-up
// menu, keys, hardware buttons and double taps all end in ViewerApp::onCommand with one of these.
#pragma once

#include "fileops/sharing_commands.h"

namespace velmora::app {

inline constexpr int kCmdClose = 1; // Ctrl+Q; posts the close
inline constexpr int kCmdAbout = 40003;
inline constexpr int kCmdOpen = 40010;
inline constexpr int kCmdFullScreen = 40011;
inline constexpr int kCmdExit = 40012; // closes at once
inline constexpr int kCmdNext = 40018;
inline constexpr int kCmdPrevious = 40023;
inline constexpr int kCmdSettings = 40024;
inline constexpr int kCmdOriginalSize = 40028;
inline constexpr int kCmdFitWhole = 40029;
inline constexpr int kCmdZoomIn = 40037;
inline constexpr int kCmdZoomOut = 40038;
inline constexpr int kCmdFileInfo = 40044;
inline constexpr int kCmdNormalScreen = 40049;
inline constexpr int kCmdMinimise = 40052;
inline constexpr int kCmdRotateScreen = 40056;
inline constexpr int kCmdNetworkConnect = fileops::kCmdNetworkConnect;
inline constexpr int kCmdNetworkDisconnect = fileops::kCmdNetworkDisconnect;
inline constexpr int kCmdFlipVertical = 40064;
inline constexpr int kCmdFlipHorizontal = 40065;
inline constexpr int kCmdNegative = 40066;
inline constexpr int kCmdThreshold = 40067;
inline constexpr int kCmdRotateLeft = 40068;
inline constexpr int kCmdRotateRight = 40069;
inline constexpr int kCmdGrey = 40070;
inline constexpr int kCmdSave = 40071;
inline constexpr int kCmdCopy = 40072;
inline constexpr int kCmdMove = 40073;
inline constexpr int kCmdDelete = 40074;
inline constexpr int kCmdMail = fileops::kCmdMail;
inline constexpr int kCmdFitHeight = 40081;
inline constexpr int kCmdFitWidth = 40082;
inline constexpr int kCmdRestore = 40083;
inline constexpr int kCmdContrast = 40084;
inline constexpr int kCmdBrightness = 40085;
inline constexpr int kCmdTrim = 40086;
inline constexpr int kCmdBlur = 40087;
inline constexpr int kCmdResize = 40088;
inline constexpr int kCmdSharpen = 40089;
inline constexpr int kCmdFirst = 40105;
inline constexpr int kCmdLast = 40106;
inline constexpr int kCmdEmboss = 40111;
inline constexpr int kCmdRecentFile0 = 40113; // 40113..40115: recent files 0..2
inline constexpr int kCmdRecentFile1 = 40114;
inline constexpr int kCmdRecentFile2 = 40115;
inline constexpr int kCmdToggleFullScreen = 40116;
inline constexpr int kCmdToggleToolbar = 1125;
inline constexpr int kCmdSeekForward = 1126;
inline constexpr int kCmdSeekBackward = 1127;
inline constexpr int kCmdToggleWholeOriginal = 1128;

// The drop-down buttons of the menu bar.
inline constexpr int kMenuButtonFile = 109;
inline constexpr int kMenuButtonEdit = 40076;
inline constexpr int kMenuButtonHelp = 40001;

} // namespace velmora::app
