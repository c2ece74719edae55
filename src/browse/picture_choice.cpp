#include "browse/picture_choice.h"

#include <algorithm>

namespace velmora::browse {

PictureChoice choosePicture(FolderList paths, std::u16string_view chosen) {
    const auto found = std::find(paths.begin(), paths.end(), chosen);
    const int index = found == paths.end() ? 0 : static_cast<int>(found - paths.begin());
    return {std::move(paths), index};
}

} // namespace velmora::browse
