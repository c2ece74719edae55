#include "platform/regular_file.h"

#include "platform/device_fs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace velmora::platform {

FileDescriptor::~FileDescriptor() {
    if (descriptor_ >= 0) {
        close(descriptor_);
    }
}

int FileDescriptor::release() {
    return std::exchange(descriptor_, -1);
}

FileDescriptor openRegularFileDescriptor(std::u16string_view devicePath) {
    const auto host = toHostPath(devicePath);
    return host.empty() ? FileDescriptor() : openRegularHostFile(host);
}

FileDescriptor openRegularHostFile(const std::filesystem::path& host) {
    // O_NONBLOCK: opening a named pipe with no writer returns at once instead of waiting.
    FileDescriptor file(open(host.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!file || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    const int flags = fcntl(file.get(), F_GETFL);
    if (flags < 0 || fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return {};
    }
    return file;
}

FilePtr openRegularFile(std::u16string_view devicePath) {
    FileDescriptor file = openRegularFileDescriptor(devicePath);
    if (!file) {
        return nullptr;
    }
    FilePtr stream(fdopen(file.get(), "rb"));
    if (stream != nullptr) {
        file.release(); // closed with the stream
    }
    return stream;
}

} // namespace velmora::platform
