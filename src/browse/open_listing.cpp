#include "browse/open_listing.h"

#include "browse/thumbnail_cache.h"
#include "codecs/image_format.h"
#include "platform/device_fs.h"
#include "util/text.h"

#include <algorithm>
#include <string>

namespace velmora::browse {
namespace {

constexpr std::u16string_view kRecycledFolder = u"Recycled";

bool isShownFormat(std::u16string_view name, const settings::AppSettings& settings) {
    const int format = static_cast<int>(codecs::formatFromExtension(name));
    return format != 0 && settings.formatEnabled(format);
}

bool isListedFolder(const platform::FindEntry& entry) {
    return (entry.attributes & platform::kAttrHidden) == 0 && entry.name != u"." &&
           entry.name != u".." && entry.name != kRecycledFolder &&
           entry.name != kThumbnailFolderName;
}

void sortByName(std::vector<FileEntry>& entries) {
    // char16_t is unsigned: the string order is the code-unit order, shorter prefix first.
    std::sort(entries.begin(), entries.end(),
              [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
}

// Whether a folder as the dialog keeps it ("A\B\", empty for the root) exists.
bool folderExists(std::u16string_view folder) {
    std::u16string path = devicePathIn(folder, u"");
    if (path.size() >= 2 && path.back() == u'\\') {
        path.pop_back();
    }
    return platform::isDirectory(path);
}

} // namespace

std::u16string devicePathIn(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(u"\\");
    path += folder;
    path += name;
    return path;
}

std::vector<FileEntry> listOpenFolder(std::u16string_view folder,
                                      const settings::AppSettings& settings) {
    std::vector<FileEntry> folders;
    std::vector<FileEntry> files;
    if (const auto found = platform::findFiles(devicePathIn(folder, u"*"))) {
        for (const platform::FindEntry& entry : *found) {
            if ((entry.attributes & platform::kAttrDirectory) != 0) {
                if (isListedFolder(entry)) {
                    const bool card = (entry.attributes & platform::kAttrStorageCard) != 0;
                    folders.push_back(
                        {true, entry.name, 0, card ? EntryIcon::StorageCard : EntryIcon::Folder});
                }
            } else if (platform::isRegularFile(entry.attributes) &&
                       (entry.attributes & platform::kAttrHidden) == 0 &&
                       isShownFormat(entry.name, settings)) {
                files.push_back(
                    {false, entry.name, static_cast<uint32_t>(entry.size), EntryIcon::PictureFile});
            }
        }
    }
    sortByName(folders);
    sortByName(files);
    std::vector<FileEntry> rows;
    rows.reserve(folders.size() + files.size() + 1);
    if (!folder.empty()) {
        rows.push_back({true, std::u16string(kParentEntryName), 0, EntryIcon::Folder});
    }
    std::move(folders.begin(), folders.end(), std::back_inserter(rows));
    std::move(files.begin(), files.end(), std::back_inserter(rows));
    return rows;
}

bool isListedPicture(std::u16string_view devicePath, const settings::AppSettings& settings) {
    const uint32_t attributes = platform::fileAttributes(devicePath);
    return attributes != platform::kInvalidAttributes && platform::isRegularFile(attributes) &&
           (attributes & platform::kAttrHidden) == 0 && isShownFormat(devicePath, settings);
}

FolderList listedPicturePaths(std::u16string_view folder, const std::vector<FileEntry>& entries,
                              const settings::AppSettings& settings) {
    FolderList paths;
    for (const FileEntry& entry : entries) {
        std::u16string path = devicePathIn(folder, entry.name);
        if (!entry.isFolder && isListedPicture(path, settings)) {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

std::u16string sizeText(uint32_t size, bool emptyAsZero) {
    if (size == 0 && emptyAsZero) {
        return u"0KB";
    }
    return util::toUtf16(std::to_string(size / 1024 + 1)) + u"KB";
}

std::u16string parentFolder(std::u16string_view folder) {
    if (folder.empty()) {
        return {};
    }
    const std::u16string_view inner = folder.substr(0, folder.size() - 1);
    const size_t slash = inner.rfind(u'\\');
    if (slash == std::u16string_view::npos) {
        return {};
    }
    std::u16string parent(inner.substr(0, slash));
    if (!parent.empty() && parent.back() != u'\\') {
        parent += u'\\';
    }
    return parent;
}

std::u16string startingFolder(std::u16string_view rememberedFolder) {
    return folderExists(rememberedFolder) ? std::u16string(rememberedFolder) : std::u16string();
}

std::optional<std::u16string> folderOfPicture(std::u16string_view devicePath) {
    if (devicePath.empty() || devicePath.front() != u'\\') {
        return std::nullopt;
    }
    const std::u16string_view folder = devicePath.substr(1, devicePath.rfind(u'\\'));
    return folderExists(folder) ? std::optional<std::u16string>(folder) : std::nullopt;
}

} // namespace velmora::browse
