// Command identifiers: the numbers of the menu resources. Menu items, bar buttons, the pop-up
// menu, keys, hardware buttons and double taps all end in ViewerApp::onCommand with one of these.
// The numbers a module's controller serves are defined in that module and only named here.
#pragma once

#include "browse/command_ids.h"
#include "edit/command_ids.h"
#include "fileops/command_ids.h"
#include "settings/command_ids.h"

namespace velmora::app {

inline constexpr int kCmdClose = 1; // Ctrl+Q; posts the close
inline constexpr int kCmdAbout = 40003;
inline constexpr int kCmdOpen = browse::kCmdOpen;
inline constexpr int kCmdFullScreen = 40011;
inline constexpr int kCmdExit = 40012; // closes at once
inline constexpr int kCmdNext = 40018;
inline constexpr int kCmdPrevious = 40023;
inline constexpr int kCmdSettings = settings::kCmdSettings;
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
inline constexpr int kCmdFlipVertical = edit::kCmdFlipVertical;
inline constexpr int kCmdFlipHorizontal = edit::kCmdFlipHorizontal;
inline constexpr int kCmdNegative = edit::kCmdNegative;
inline constexpr int kCmdThreshold = edit::kCmdThreshold;
inline constexpr int kCmdRotateLeft = edit::kCmdRotateLeft;
inline constexpr int kCmdRotateRight = edit::kCmdRotateRight;
inline constexpr int kCmdGrey = edit::kCmdGrey;
inline constexpr int kCmdSave = fileops::kCmdSave;
inline constexpr int kCmdCopy = fileops::kCmdCopy;
inline constexpr int kCmdMove = fileops::kCmdMove;
inline constexpr int kCmdDelete = fileops::kCmdDelete;
inline constexpr int kCmdMail = fileops::kCmdMail;
inline constexpr int kCmdFitHeight = 40081;
inline constexpr int kCmdFitWidth = 40082;
inline constexpr int kCmdRestore = 40083;
inline constexpr int kCmdContrast = edit::kCmdContrast;
inline constexpr int kCmdBrightness = edit::kCmdBrightness;
inline constexpr int kCmdTrim = edit::kCmdTrim;
inline constexpr int kCmdBlur = edit::kCmdBlur;
inline constexpr int kCmdResize = edit::kCmdResize;
inline constexpr int kCmdSharpen = edit::kCmdSharpen;
inline constexpr int kCmdFirst = 40105;
inline constexpr int kCmdLast = 40106;
inline constexpr int kCmdEmboss = edit::kCmdEmboss;
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
