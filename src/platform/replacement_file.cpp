#include "platform/replacement_file.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {

ReplacementFile::ReplacementFile(const std::filesystem::path& target, Durability durability)
    : target_(target), durability_(durability) {
    if (target_.empty() || !target_.has_filename()) {
        return;
    }
    std::string pattern =
        (target_.parent_path() / ("." + target_.filename().string() + ".XXXXXX")).string();
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
    if (length > 0 && std::fwrite(data, 1, length, file_) != length) {
        failed_ = true;
    }
    return !failed_;
}

bool ReplacementFile::commit() {
    if (file_ == nullptr || failed_) {
        return false;
    }
    const bool flushed = std::fflush(file_) == 0 &&
                         (durability_ == Durability::Unsynced || fsync(fileno(file_)) == 0);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) {
        return false;
    }
    // A replaced file keeps its permissions; a new one gets what the umask allows
    // (mkstemp makes it 0600).
    struct stat old {};
    if (stat(target_.c_str(), &old) == 0) {
        chmod(temporary_.c_str(), old.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        chmod(temporary_.c_str(), 0666 & ~mask);
    }
    std::error_code error;
    std::filesystem::rename(temporary_, target_, error);
    committed_ = !error;
    return committed_;
}

} // namespace velmora::platform
