#include "platform/replacement_file.h"

#include "platform/file_faults.h"
#include "platform/host_names.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {

ReplacementFile::ReplacementFile(const std::filesystem::path& target, Durability durability)
    : target_(target), durability_(durability) {
    if (target_.empty() || !target_.has_filename()) {
        return;
    }
    // ".NAME.XXXXXX", with NAME shortened so that the temporary fits where the target does.
    constexpr size_t kNameRoom = 255 - std::string_view("..XXXXXX").size();
    const std::string name = shortenedHostName(target_.filename().string(), kNameRoom);
    std::string pattern = (target_.parent_path() / ("." + name + ".XXXXXX")).string();
    const int descriptor = mkstemp(pattern.data());
    if (descriptor < 0) {
        return;
    }
    temporary_ = pattern;
    file_ = fdopen(descriptor, "wb");
    if (file_ == nullptr) {
        close(descriptor);
        std::filesystem::remove(temporary_);
        temporary_.clear();
    }
}

ReplacementFile::~ReplacementFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    if (!committed_ && !temporary_.empty()) {
        std::error_code error;
        std::filesystem::remove(temporary_, error);
    }
}

bool ReplacementFile::write(const void* data, size_t length) {
    if (file_ == nullptr || failed_) {
        return false;
    }
    if (length == 0) {
        return true;
    }
    if (injectedFault(FileStep::Write) != 0) {
        // As a disk filling up: part of the bytes land, then the write fails.
        std::fwrite(data, 1, length / 2, file_);
        failed_ = true;
    } else if (std::fwrite(data, 1, length, file_) != length) {
        failed_ = true;
    }
    return !failed_;
}

bool ReplacementFile::flush() {
    if (file_ == nullptr || failed_) {
        return false;
    }
    const bool flushed = std::fflush(file_) == 0;
    if (!flushed || (durability_ == Durability::Synced &&
                     (injectedFault(FileStep::Sync) != 0 || fsync(fileno(file_)) != 0))) {
        failed_ = true;
    }
    return !failed_;
}

mode_t ReplacementFile::committedMode() const {
    if (mode_) {
        return *mode_ & 07777;
    }
    // A replaced file keeps its permissions; a new one gets what the umask allows (mkstemp
    // makes it 0600).
    struct stat old {};
    if (stat(target_.c_str(), &old) == 0) {
        return old.st_mode & 07777;
    }
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool ReplacementFile::commit(Overwrite overwrite) {
    if (!flush()) {
        return false;
    }
    fchmod(fileno(file_), committedMode());
    if (modified_) {
        const timespec times[2] = {{0, UTIME_OMIT}, *modified_};
        futimens(fileno(file_), times);
    }
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closed || injectedFault(FileStep::Commit) != 0) {
        return false;
    }
    if (overwrite == Overwrite::Never) {
        committed_ = renameWithoutReplacing(temporary_, target_);
    } else {
        committed_ = std::rename(temporary_.c_str(), target_.c_str()) == 0;
    }
    return committed_;
}

bool renameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // The file system has no exclusive rename: a hard link fails on an existing target too.
    if (link(from.c_str(), to.c_str()) == 0) {
        unlink(from.c_str());
        return true;
    }
    if (errno != EPERM && errno != ENOSYS && errno != EOPNOTSUPP) {
        return false;
    }
    // Nor hard links (FAT): check, then rename.
    struct stat existing {};
    if (lstat(to.c_str(), &existing) == 0) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace velmora::platform
