// The folder chooser's tree without its widgets: the device path an item stands for, and the
// subfolders read when an item is expanded.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::browse {

// The text of the tree's single top item, the device root.
inline constexpr std::u16string_view kRootItemText = u"\\";

// The device path of an item, given the item texts from the top item down to the item itself:
// "\" for the root, "\A" for A under the root, "\A\B" for B under A. Empty for no texts.
std::u16string folderItemPath(std::span<const std::u16string> textsFromTop);

struct Subfolder {
    std::u16string name;
    bool storageVolume = false; // a mount point
};

struct SubfolderScan {
    enum class [[nodiscard]] Outcome{
        Listed,     // the folder was read; folders may still be empty when it holds only files
        Empty,      // the folder holds nothing at all: the item has no children to offer
        Unreadable, // the folder could not be read: the item keeps its expand button
    };
    Outcome outcome = Outcome::Unreadable;
    std::vector<Subfolder> folders; // sorted by UTF-16 code units
};

// Reads the subfolders of the folder at a device path as folderItemPath gives it.
SubfolderScan readSubfolders(std::u16string_view folderPath);

} // namespace velmora::browse
