// The desktop trash in the layout file managers share (freedesktop.org), so that a deleted picture
// can be restored from any file manager. A file goes to the trash of its own file system: the home
// trash $XDG_DATA_HOME/Trash for the file system that holds it, otherwise $topdir/.Trash/$uid
// (an administrator-made, sticky .Trash) or $topdir/.Trash-$uid at the top of the mount.
#pragma once

#include <filesystem>
#include <string_view>

namespace velmora::platform {

enum class [[nodiscard]] TrashResult{
    Trashed,     // the file is in the trash, with its .trashinfo
    Unavailable, // no trash can be used for it (read-only or foreign mount): nothing changed
    Failed,      // a trash exists but the file could not be moved there: nothing changed
};

// Writes Trash/info/NAME.trashinfo first (Path and DeletionDate), then renames the file to
// Trash/files/NAME; NAME is the file's name, shortened before its extension when NAME.trashinfo
// would pass 255 bytes, and made unique with ".2", ".3", ... before its extension. A failed
// rename removes the info file again. The home trash may be a link to a folder the user owns.
TrashResult moveHostFileToTrash(const std::filesystem::path& hostFile);
TrashResult moveToTrash(std::u16string_view devicePath);

// $XDG_DATA_HOME/Trash, or ~/.local/share/Trash when XDG_DATA_HOME is not set.
std::filesystem::path homeTrashFolder();

} // namespace velmora::platform
