// AppSettings: everything the viewer remembers between runs, kept under the current-user key
// Software\Quorrin\Velmora. Loaded once when the main window is created, saved once when it goes.
#pragma once

#include "image/view_state.h"
#include "settings/button_functions.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::settings {

inline constexpr int kRecentFileLimit = 3;
inline constexpr int kButtonSlots = 15; // buttons 1..15; only 1..12 are stored
inline constexpr int kStoredButtons = 12;
inline constexpr int kArrowKeys = 4; // left, right, up, down

// What a double tap does (DBLCLKOPT).
enum class DoubleTapAction : int32_t { None, PopupMenu, Next, WholeOriginal, AutoFitOriginal };

class AppSettings {
  public:
    // Defaults; the seek steps are half the given screen size.
    AppSettings(int screenWidth = 240, int screenHeight = 320);

    // Overlays the stored values (clamped to their ranges). Missing or malformed values keep
    // their current value; a missing key changes nothing.
    void load();
    // Writes every value; failures are silent.
    void save() const;

    void addRecentFile(const std::u16string& path);
    // Entry i, newest first; "none" outside the list.
    std::u16string recentFileAt(int index) const;
    int recentFileCount() const { return static_cast<int>(recentFiles.size()); }

    // Whether files of format f (1..6: JPEG, GIF, BMP, MAG, PNG, TIFF) are listed.
    [[nodiscard]] bool formatEnabled(int format) const;

    std::vector<std::u16string> recentFiles;
    // Index 1..15; index 0 unused.
    std::array<ButtonFunction, kButtonSlots + 1> buttonFunctions{
        ButtonFunction::None,        ButtonFunction::WholeOriginal, ButtonFunction::Next,
        ButtonFunction::SeekForward, ButtonFunction::SeekBackward,  ButtonFunction::ZoomIn,
        ButtonFunction::ZoomOut};
    std::array<ButtonFunction, kArrowKeys> arrowKeyFunctions{
        ButtonFunction::MoveLeft, ButtonFunction::MoveRight, ButtonFunction::MoveUp,
        ButtonFunction::MoveDown};
    int32_t moveStepX = 32; // XMOVE, YMOVE: pixels an arrow key moves the view
    int32_t moveStepY = 32;
    image::Placement placement = image::Placement::TopRight;
    int32_t seekStepX = 120; // XSEEK, YSEEK: pixels a seek step moves the view
    int32_t seekStepY = 160;
    // EXTJPG .. EXTTIF, then EXTWEBP, EXTAVIF, EXTHEIF, EXTJXL: formats 1 .. 10 listed or not
    std::array<bool, 10> extensionEnabled{true, true, true, true, true,
                                          true, true, true, true, true};
    bool smoothReduction = true; // VIEWHQ
    image::InitialZoom initialZoom = image::InitialZoom::Original;
    image::SeekOrder seekOrder = image::SeekOrder::HorizontalFirst;
    bool usePreload = true;
    bool openLastFile = true;
    bool thumbCache = true;
    DoubleTapAction doubleTapAction = DoubleTapAction::PopupMenu;
    bool useTrash = true;     // delete to the desktop trash (USETRASH), not for good
    bool autoRotate = true;   // turn pictures upright by their stored orientation (AUTOROTATE)
    bool colorManage = true;  // convert colours by embedded profiles (COLORMANAGE)
    bool dialogMemory = true; // dialogs start from the shown picture and last choice (DIALOGMEMORY)
    bool keepMetadata = true; // saves keep the file's EXIF, XMP, profile and texts (KEEPMETADATA)
    bool losslessTurns = true;    // JPEG turns and flips saved without re-encoding (LOSSLESSTURN)
    bool reducedFirstView = true; // a big JPEG is first shown from a reduced decode (PREVIEWBIG)
    bool showAlpha = true; // transparency shown over a checkerboard and kept on save (SHOWALPHA)
    bool animate = true;   // pictures of several frames play (ANIMATE)
};

// The open dialog's last folder (relative to the root, trailing '\', empty = root); persisted
// as LASTCURDIR by load and save.
std::u16string& lastBrowseDir();

} // namespace velmora::settings
