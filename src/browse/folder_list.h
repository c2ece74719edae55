// FolderList: the ordered full paths of the pictures being paged through, and the folder
// listing that fills it.
#pragma once

#include "settings/app_settings.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora::browse {

using FolderList = std::vector<std::u16string>;

// Appends the listed pictures of one folder (a device path ending in '\'), in the order the file
// system returns them: folders, hidden entries, unknown formats and formats switched off in the
// settings are left out. A folder that cannot be read adds nothing.
void buildFolderList(std::u16string_view folder, FolderList& list,
                     const settings::AppSettings& settings);

// Orders paths by their UTF-16 code units as unsigned numbers, shorter prefix first: no case
// folding, no numeric ordering ("B.jpg" < "a.jpg", "10.jpg" < "2.jpg").
void sortFolderList(FolderList& list);

} // namespace velmora::browse
