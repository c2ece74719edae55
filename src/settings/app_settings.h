// AppSettings: everything the viewer remembers between runs, kept under the current-user key
// Software\Quorrin\Velmora. Loaded once when the main window is created, saved once when it goes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::settings {

inline constexpr int kRecentFileLimit = 3;
inline constexpr int kButtonSlots = 15; // buttons 1..15; only 1..12 are stored
inline constexpr int kStoredButtons = 12;
inline constexpr int kArrowKeys = 4; // left, right, up, down

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
    std::array<int32_t, kButtonSlots + 1> buttonFunction{0, 7, 3, 5, 6, 1, 2};
    std::array<int32_t, kArrowKeys> keyFunction{8, 9, 10, 11};
    int32_t xMove = 32;
    int32_t yMove = 32;
    int32_t vOrigin = 2; // 0 top left, 1 centre, 2 top right
    int32_t xSeek = 120;
    int32_t ySeek = 160;
    std::array<bool, 6> extensionEnabled{true, true, true, true, true, true};
    bool viewHq = true;
    int32_t dispOpt = 0;   // 0 original, 1 fit height, 2 fit width, 3 fit whole, 4 auto fit
    int32_t seekDirec = 0; // 0 horizontal first, 1 vertical first
    bool usePreload = true;
    bool openLastFile = true;
    bool thumbCache = true;
    int32_t dblClkOpt = 1;
    bool useTrash = true;     // delete to the desktop trash (USETRASH), not for good
    bool autoRotate = true;   // turn pictures upright by their stored orientation (AUTOROTATE)
    bool colorManage = true;  // convert colours by embedded profiles (COLORMANAGE)
    bool dialogMemory = true; // dialogs start from the shown picture and last choice (DIALOGMEMORY)
};

// The open dialog's last folder (relative to the root, trailing '\', empty = root); persisted
// as LASTCURDIR by load and save.
std::u16string& lastBrowseDir();

} // namespace velmora::settings
