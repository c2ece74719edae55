#include "browse/folder_list.h"

#include "codecs/image_format.h"
#include "platform/device_fs.h"

#include <algorithm>

namespace velmora::browse {

void buildFolderList(std::u16string_view folder, FolderList& list,
                     const settings::AppSettings& settings) {
    std::u16string pattern(folder);
    pattern += u"*.*";
    const auto entries = platform::findFiles(pattern);
    if (!entries) {
        return;
    }
    for (const platform::FindEntry& entry : *entries) {
        // Regular files only: reading a named pipe or a device could wait for ever.
        if (!platform::isRegularFile(entry.attributes) ||
            (entry.attributes & platform::kAttrHidden) != 0) {
            continue;
        }
        const int format = static_cast<int>(codecs::formatFromExtension(entry.name));
        if (format == 0 || !settings.formatEnabled(format)) {
            continue;
        }
        std::u16string path(folder);
        path += entry.name;
        list.push_back(std::move(path));
    }
}

void sortFolderList(FolderList& list) {
    // char16_t is unsigned, so the standard string order is the code-unit order wanted here.
    std::sort(list.begin(), list.end());
}

} // namespace velmora::browse
