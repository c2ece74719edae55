// Command numbers: the identifiers of the menu resources, and of the commands that keys, hardware
// buttons, double taps and bar buttons run. A type of its own, so that a string id cannot be
// passed for one. app/input/action_table.h tells which controller serves each.
#pragma once

namespace velmora::ui {

enum class Command : int {
    Close = 1, // Ctrl+Q; posts the close
    About = 40003,
    Open = 40010,
    FullScreen = 40011,
    Exit = 40012, // closes at once
    Next = 40018,
    Previous = 40023,
    Settings = 40024,
    OriginalSize = 40028,
    FitWhole = 40029,
    ZoomIn = 40037,
    ZoomOut = 40038,
    FileInfo = 40044,
    NormalScreen = 40049, // leaves full-screen mode; nothing outside it
    Minimise = 40052,
    RotateScreen = 40056,
    NetworkConnect = 40058,
    NetworkDisconnect = 40059,
    FlipVertical = 40064,
    FlipHorizontal = 40065,
    Negative = 40066,
    Threshold = 40067,
    RotateLeft = 40068,
    RotateRight = 40069,
    Grey = 40070,
    Save = 40071,
    Copy = 40072,
    Move = 40073,
    Delete = 40074,
    Mail = 40080,
    FitHeight = 40081,
    FitWidth = 40082,
    Restore = 40083,
    Contrast = 40084,
    Brightness = 40085,
    Trim = 40086,
    Blur = 40087,
    Resize = 40088,
    Sharpen = 40089,
    First = 40105,
    Last = 40106,
    Emboss = 40111,
    RecentFile0 = 40113, // 40113..40115: recent files 0..2
    RecentFile1 = 40114,
    RecentFile2 = 40115,
    ToggleFullScreen = 40116,
    ToggleToolbar = 1125,
    SeekForward = 1126,
    SeekBackward = 1127,
    ToggleWholeOriginal = 1128,
    ToggleAutoFitOriginal = 1129,
    PopupMenu = 1130,
    Undo = 40130,
    Redo = 40131,
};

} // namespace velmora::ui
