// Writes a file so that the old one survives any failure: the bytes go to a temporary file
// beside the target, which replaces the target only after it was completely written, flushed
// and closed. A replaced file keeps its permissions.
#pragma once

#include <cstdio>
#include <filesystem>

namespace velmora::platform {

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

    bool isOpen() const { return file_ != nullptr; }
    std::FILE* file() const { return file_; }
    bool write(const void* data, size_t length);
    // Flushes, closes and renames over the target. False leaves the target untouched.
    bool commit();

  private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    Durability durability_;
    bool failed_ = false;
    bool committed_ = false;
};

} // namespace velmora::platform
