// Where the save command writes: the proposed folder and name, the file types of the save
// dialog, the checks of its OK button and the target path.
#pragma once

#include <string>
#include <string_view>

namespace velmora::fileops {

// The save dialog's file types, in the order of its type list; TIFF is handled, not offered.
inline constexpr int kSaveJpeg = 0;
inline constexpr int kSaveBmp = 1;
inline constexpr int kSavePng = 2;
inline constexpr int kSaveTiff = 3;
inline constexpr int kOfferedSaveTypes = 3;

// JPEG qualities of the high, medium and low buttons; medium also when none is checked.
inline constexpr int kQualityHigh = 99;
inline constexpr int kQualityMedium = 66;
inline constexpr int kQualityLow = 20;

struct SaveProposal {
    std::u16string folder;   // up to and including the last '\'
    std::u16string baseName; // without its last extension
    int type = kSaveJpeg;    // the type and JPEG quality selected when the dialog opens
    int quality = kQualityMedium;
};

struct SaveChoice {
    std::u16string folder;
    std::u16string fileName; // with the type's extension once accepted
    int type = kSaveJpeg;    // -1 when no type is selected
    int quality = kQualityMedium;
};

// The folder and base name of the file being viewed; both empty without one.
SaveProposal proposeSaveLocation(std::u16string_view currentPath);

// ".jpg", ".bmp", ".png" or ".tif"; empty for any other type.
std::u16string_view saveTypeExtension(int type);

// The dialog's OK: appends the type's extension to a non-empty name (also to a name that has an
// extension: a.jpg becomes a.jpg.jpg) and returns 0, or refuses with the string id to show:
// kUnknownError for no type, kBadFileName for an empty or unusable name (a "." or ".." part, '/',
// NUL), kBadSaveLocation when the folder is empty or not a folder.
int acceptSaveChoice(SaveChoice& choice);

// The folder with '\' appended unless it ends with one (the root "\" stays), then the name.
std::u16string pathInFolder(std::u16string_view folder, std::u16string_view name);

} // namespace velmora::fileops
