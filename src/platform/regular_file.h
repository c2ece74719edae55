// Opening user files for reading without ever waiting. A name in a folder can stand for a named
// pipe, a socket or a device, or be swapped for one after the folder was listed; opening such a
// thing for reading can block for ever. So the file is opened without waiting, the opened
// descriptor (not the name) must be a regular file, and only then is it made an ordinary
// blocking descriptor. Anything else is refused as if it could not be opened.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

namespace velmora::platform {

// An owned descriptor, closed on destruction; -1 when there is none.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : descriptor_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&&) = delete;

    explicit operator bool() const { return descriptor_ >= 0; }
    int get() const { return descriptor_; }
    // Gives up ownership: the caller closes the descriptor.
    int release();

  private:
    int descriptor_ = -1;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A regular file of the device file system opened for reading; empty when the path cannot be
// opened or is not a regular file.
FileDescriptor openRegularFileDescriptor(std::u16string_view devicePath);
// The same for a host path.
FileDescriptor openRegularHostFile(const std::filesystem::path& hostPath);
// The same as a stdio stream ("rb").
FilePtr openRegularFile(std::u16string_view devicePath);

} // namespace velmora::platform
