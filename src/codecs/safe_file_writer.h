// Writes a file so that the old one survives any failure: the bytes go to a temporary file
// beside the target, which replaces the target only after it was completely written and closed.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace velmora::codecs {

class SafeFileWriter {
  public:
    // Opens a temporary beside the device path's host file; check isOpen().
    explicit SafeFileWriter(std::u16string_view devicePath);
    // Removes the temporary unless commit() succeeded.
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    std::FILE* file() const { return file_; }
    bool write(const void* data, size_t length);
    // Flushes, closes and renames over the target. False leaves the target untouched.
    bool commit();

  private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    bool committed_ = false;
};

} // namespace velmora::codecs
