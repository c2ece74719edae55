#include "platform/file_transfer.h"

#include "platform/file_faults.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmora::platform {
namespace {

constexpr size_t kChunkBytes = size_t{1} << 20;

// A read-only descriptor that closes when it goes.
class InputFile {
  public:
    // O_NONBLOCK: a named pipe opens at once (and is then refused as not a regular file);
    // reads of a regular file never wait on it.
    explicit InputFile(const std::filesystem::path& path)
        : descriptor_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)) {}
    ~InputFile() {
        if (descriptor_ >= 0) {
            close(descriptor_);
        }
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool isOpen() const { return descriptor_ >= 0; }
    int descriptor() const { return descriptor_; }

    // Fills buffer as far as the file goes; the byte count, or -1 on a read error.
    ssize_t readUpTo(std::vector<char>& buffer) {
        size_t filled = 0;
        while (filled < buffer.size()) {
            const ssize_t got = read(descriptor_, buffer.data() + filled, buffer.size() - filled);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                return -1;
            }
            if (got == 0) {
                break;
            }
            filled += static_cast<size_t>(got);
        }
        return static_cast<ssize_t>(filled);
    }

  private:
    int descriptor_;
};

bool copyBytes(InputFile& source, ReplacementFile& target) {
    std::vector<char> buffer(kChunkBytes);
    for (;;) {
        const ssize_t got = source.readUpTo(buffer);
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (!target.write(buffer.data(), static_cast<size_t>(got))) {
            return false;
        }
    }
}

// Whether the two files hold the same bytes, read again from the start.
bool sameBytes(const std::filesystem::path& a, const std::filesystem::path& b) {
    InputFile first(a), second(b);
    if (!first.isOpen() || !second.isOpen()) {
        return false;
    }
    std::vector<char> left(kChunkBytes), right(kChunkBytes);
    for (;;) {
        const ssize_t gotLeft = first.readUpTo(left);
        const ssize_t gotRight = second.readUpTo(right);
        if (gotLeft < 0 || gotLeft != gotRight) {
            return false;
        }
        if (gotLeft == 0) {
            return true;
        }
        if (std::memcmp(left.data(), right.data(), static_cast<size_t>(gotLeft)) != 0) {
            return false;
        }
    }
}

bool isRegularFile(const std::filesystem::path& path, struct stat& info) {
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

bool copyFileChecked(const std::filesystem::path& source, const std::filesystem::path& target,
                     Overwrite overwrite) {
    InputFile input(source);
    struct stat info {};
    if (source.empty() || target.empty() || !input.isOpen() ||
        fstat(input.descriptor(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    struct stat existing {};
    if (overwrite == Overwrite::Never && lstat(target.c_str(), &existing) == 0) {
        return false;
    }
    ReplacementFile copy(target);
    if (!copy.isOpen() || !copyBytes(input, copy) || !copy.flush()) {
        return false;
    }
    struct stat written {};
    if (stat(copy.temporaryPath().c_str(), &written) != 0 || written.st_size != info.st_size ||
        !sameBytes(source, copy.temporaryPath())) {
        return false;
    }
    copy.setMode(info.st_mode);
    copy.setModificationTime(info.st_mtim);
    return copy.commit(overwrite);
}

bool moveFileChecked(const std::filesystem::path& source, const std::filesystem::path& target,
                     Overwrite overwrite) {
    struct stat info {};
    if (source.empty() || target.empty() || !isRegularFile(source, info)) {
        return false;
    }
    if (injectedFault(FileStep::Move) == 0) {
        const bool renamed = overwrite == Overwrite::Never
                                 ? renameWithoutReplacing(source, target)
                                 : std::rename(source.c_str(), target.c_str()) == 0;
        if (renamed) {
            return true;
        }
    }
    if (errno != EXDEV) {
        return false;
    }
    if (!copyFileChecked(source, target, overwrite)) {
        return false;
    }
    if (injectedFault(FileStep::Remove) == 0 && unlink(source.c_str()) == 0) {
        return true;
    }
    // The source stays: a copy on a free target is taken back, so the move changed nothing. A
    // replaced target is gone already, as the user agreed, and now holds the source's bytes.
    if (overwrite == Overwrite::Never) {
        unlink(target.c_str());
    }
    return false;
}

} // namespace velmora::platform
