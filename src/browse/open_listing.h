// The open dialog's listing of one folder, without its widgets: the rows (".." first, then the
// sorted subfolders, then the sorted pictures), the folder arithmetic of going up and of the
// remembered starting folder, and the test a row must pass to join the list of pictures.
//
// A folder is named as the dialog keeps it: relative to the device root, empty for the root,
// otherwise with a trailing '\' ("A\B\").
#pragma once

#include "browse/folder_list.h"
#include "settings/app_settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::browse {

enum class EntryIcon { Folder = 0, PictureFile = 1, StorageCard = 2 };

struct FileEntry {
    bool isFolder = false; // ".." and subfolders
    std::u16string name;
    uint32_t size = 0; // the file's size in bytes (low 32 bits); 0 for folders
    EntryIcon icon = EntryIcon::Folder;
};

inline constexpr std::u16string_view kParentEntryName = u"..";

// The device path of a name in a folder: "\" + folder + name.
std::u16string devicePathIn(std::u16string_view folder, std::u16string_view name);

// The rows of a folder. Left out: hidden entries, the "Recycled" folder, the thumbnail cache
// folder, anything but regular files among the files (a FIFO named like a picture is not
// listed), and pictures of unknown or switched-off formats. An unreadable folder gives only "..".
std::vector<FileEntry> listOpenFolder(std::u16string_view folder,
                                      const settings::AppSettings& settings);

// Whether the device path names a listed picture now: a regular, visible file of a shown format.
[[nodiscard]] bool isListedPicture(std::u16string_view devicePath,
                                   const settings::AppSettings& settings);

// The paths of the rows of a folder that are listed pictures, in row order.
FolderList listedPicturePaths(std::u16string_view folder, const std::vector<FileEntry>& entries,
                              const settings::AppSettings& settings);

// The size column: size / 1024 + 1 kilobytes, "1KB" for 0 to 1023 bytes; an empty file shows
// "0KB" when emptyAsZero is set.
std::u16string sizeText(uint32_t size, bool emptyAsZero);

// The folder above ("A\B\" -> "A\", "A\" -> "").
std::u16string parentFolder(std::u16string_view folder);

// The folder the dialog starts in: the remembered one while it still exists, else the root.
std::u16string startingFolder(std::u16string_view rememberedFolder);

// The folder of a picture's device path while that folder exists ("\A\B\x.jpg" -> "A\B\",
// "\x.jpg" -> the root), else nothing.
std::optional<std::u16string> folderOfPicture(std::u16string_view devicePath);

} // namespace velmora::browse
