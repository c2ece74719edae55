// The device file system: paths use '\' and start at the device root '\', which maps to a
// host folder (default '/'). Core code reaches files only through these calls.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmora::platform {

inline constexpr uint32_t kAttrHidden = 0x02;
inline constexpr uint32_t kAttrDirectory = 0x10;
inline constexpr uint32_t kAttrDevice = 0x40; // neither a folder nor a regular file (pipe, socket)
inline constexpr uint32_t kAttrNormal = 0x80;
inline constexpr uint32_t kAttrStorageCard = 0x100; // a folder that is a mount point
inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;

// Calendar fields of a file time, without time-zone conversion.
struct FileTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct FindEntry {
    std::u16string name;
    uint32_t attributes = 0;
    uint64_t size = 0;
    FileTime lastWrite;
};

void setDeviceRoot(const std::filesystem::path& hostFolder);

// The network folder "\Network" at the device root: while it is shown, "\Network\<local name>"
// is the host folder connected under that name. It hides a host folder of the same name and
// never touches the host's root. Safe to change while other threads use the file system.
inline constexpr char16_t kNetworkFolderName[] = u"Network";
struct NetworkMapping {
    std::u16string localName;
    std::filesystem::path hostFolder;
};
void setNetworkFolderShown(bool shown);
[[nodiscard]] bool networkFolderShown();
void setNetworkMappings(std::vector<NetworkMapping> mappings);

// Device path -> host path (names mapped as platform/host_names.h says). A path never leaves
// the root or a network folder: one with a name that is "." or ".." or holds '/' or NUL, or that
// no host name maps to, is refused (empty result).
std::filesystem::path toHostPath(std::u16string_view devicePath);
[[nodiscard]] bool isUsablePath(std::u16string_view devicePath);
// Host path -> device path, if the host path lies under the root.
std::optional<std::u16string> toDevicePath(const std::filesystem::path& hostPath);

// Whether attributes describe a regular file, the only kind of entry a file listing shows.
[[nodiscard]] inline bool isRegularFile(uint32_t attributes) {
    return (attributes & (kAttrDirectory | kAttrDevice)) == 0;
}

uint32_t fileAttributes(std::u16string_view devicePath);
[[nodiscard]] bool isDirectory(std::u16string_view devicePath);
[[nodiscard]] bool exists(std::u16string_view devicePath);
// Whether both paths reach the same file (one device and inode), as through a linked folder or
// a hard link.
[[nodiscard]] bool isSameFile(std::u16string_view first, std::u16string_view second);

// Lists a folder; pattern is "*" or "*.*" (both list every entry, "." and ".." excluded).
// Returns nothing when the folder cannot be read.
std::optional<std::vector<FindEntry>> findFiles(std::u16string_view folderWithPattern);
std::optional<FindEntry> findFile(std::u16string_view devicePath);

// Copy and move replace a file at the target in one step and never lose the source (see
// platform/file_transfer.h); a copy keeps the source's modification time.
[[nodiscard]] bool copyFile(std::u16string_view from, std::u16string_view to, bool failIfExists);
[[nodiscard]] bool moveFile(std::u16string_view from,
                            std::u16string_view to); // fails if the target exists
[[nodiscard]] bool moveFileReplacing(std::u16string_view from, std::u16string_view to);
[[nodiscard]] bool deleteFile(std::u16string_view devicePath);
[[nodiscard]] bool createDirectory(std::u16string_view devicePath);

// Whole-file read, bounded: files larger than maxBytes are refused.
std::optional<std::vector<uint8_t>> readWholeFile(std::u16string_view devicePath,
                                                  uint64_t maxBytes = uint64_t{1} << 31);

// Text after the last '\' (the whole text when there is none).
std::u16string fileNamePart(std::u16string_view path);
// Text up to and including the last '\' (empty when there is none).
std::u16string folderPart(std::u16string_view path);

} // namespace velmora::platform
