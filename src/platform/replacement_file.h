// Writes a file so that the old one survives any failure: the bytes go to a temporary file
// beside the target, which replaces the target only after it was completely written, flushed
// and closed. A replaced file keeps its permissions.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <sys/types.h>
#include <time.h>

namespace velmora::platform {

// Whether a commit may replace a file that already stands at the target.
enum class Overwrite { Replace, Never };

// Whether commit waits until the bytes are on the medium before the rename. A file that can be
// made again (a thumbnail) need not wait: the rename still keeps a half-written file out of sight.
enum class Durability { Synced, Unsynced };

class ReplacementFile {
  public:
    // Opens a temporary beside the host file target; check isOpen().
    explicit ReplacementFile(const std::filesystem::path& target,
                             Durability durability = Durability::Synced);
    // Removes the temporary unless commit() succeeded.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    [[nodiscard]] bool isOpen() const { return file_ != nullptr; }
    std::FILE* file() const { return file_; }
    const std::filesystem::path& temporaryPath() const { return temporary_; }
    [[nodiscard]] bool write(const void* data, size_t length);
    // Writes out the buffered bytes and syncs them to the medium, so the temporary can be read
    // back before it is committed. commit() does this itself.
    [[nodiscard]] bool flush();

    // What the committed file gets instead of a replaced file's permissions and the time of the
    // commit (a copy keeps its source's).
    void setMode(mode_t mode) { mode_ = mode; }
    void setModificationTime(const timespec& time) { modified_ = time; }

    // Flushes, closes and renames over the target (or, with Overwrite::Never, only onto a
    // target that does not exist). False leaves the target untouched.
    [[nodiscard]] bool commit(Overwrite overwrite = Overwrite::Replace);

  private:
    mode_t committedMode() const;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    Durability durability_;
    bool failed_ = false;
    bool committed_ = false;
    std::optional<mode_t> mode_;
    std::optional<timespec> modified_;
};

// Renames from onto to only when nothing stands at to; false (errno set) otherwise. Works on
// file systems without an exclusive rename through a hard link.
[[nodiscard]] bool renameWithoutReplacing(const std::filesystem::path& from,
                                          const std::filesystem::path& to);

} // namespace velmora::platform
