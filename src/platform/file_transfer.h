// Copying and moving a user's file so that nothing is lost on the way: a file that stands at the
// target is replaced in one step (a finished, checked temporary in the target's folder is renamed
// over it), so any failure leaves the old target as it was and no temporary behind.
#pragma once

#include "platform/replacement_file.h"

#include <filesystem>

namespace velmora::platform {

// Copies a regular file. The bytes go to a temporary in the target's folder, are synced, read
// back and compared with the source, and only then renamed onto the target. The copy keeps the
// source's permissions and modification time. Overwrite::Never fails on an existing target.
[[nodiscard]] bool copyFileChecked(const std::filesystem::path& source,
                                   const std::filesystem::path& target, Overwrite overwrite);

// Moves a regular file: a rename within one file system; across file systems a checked copy,
// after which the source is removed. When the source cannot be removed the move fails, and a
// copy made onto a free target is taken back, so the source is never lost.
[[nodiscard]] bool moveFileChecked(const std::filesystem::path& source,
                                   const std::filesystem::path& target, Overwrite overwrite);

} // namespace velmora::platform
