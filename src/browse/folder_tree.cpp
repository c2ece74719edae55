#include "browse/folder_tree.h"

#include "platform/device_fs.h"

#include <algorithm>

namespace velmora::browse {

std::u16string folderItemPath(std::span<const std::u16string> textsFromTop) {
    if (textsFromTop.empty()) {
        return {};
    }
    std::u16string path = textsFromTop.back();
    for (auto parent = textsFromTop.rbegin() + 1; parent != textsFromTop.rend(); ++parent) {
        path.insert(0, 1, u'\\');
        if (*parent != kRootItemText) {
            path.insert(0, *parent);
        }
    }
    return path;
}

SubfolderScan readSubfolders(std::u16string_view folderPath) {
    std::u16string pattern(folderPath);
    pattern += folderPath == kRootItemText ? u"*.*" : u"\\*.*";
    const auto entries = platform::findFiles(pattern);
    SubfolderScan scan;
    if (!entries) {
        return scan;
    }
    scan.outcome =
        entries->empty() ? SubfolderScan::Outcome::Empty : SubfolderScan::Outcome::Listed;
    for (const platform::FindEntry& entry : *entries) {
        if ((entry.attributes & platform::kAttrDirectory) != 0 && entry.name != u"." &&
            entry.name != u"..") {
            scan.folders.push_back(
                {entry.name, (entry.attributes & platform::kAttrStorageCard) != 0});
        }
    }
    std::sort(scan.folders.begin(), scan.folders.end(),
              [](const Subfolder& a, const Subfolder& b) { return a.name < b.name; });
    return scan;
}

} // namespace velmora::browse
