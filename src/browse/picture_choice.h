// What the open dialog and the thumbnail view hand back when the user picks a picture: the list
// of the folder's pictures in the order shown, and which of them to show.
#pragma once

#include "browse/folder_list.h"

#include <string_view>

namespace velmora::browse {

struct PictureChoice {
    FolderList list;
    int currentIndex = 0; // 0 when the chosen picture is not in the list (it vanished)
};

// The choice of chosen among paths (exact comparison).
PictureChoice choosePicture(FolderList paths, std::u16string_view chosen);

} // namespace velmora::browse
