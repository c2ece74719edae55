#include "platform/mail/maildir.h"

#include "platform/mail/mime_message.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace velmora::platform {
namespace fs = std::filesystem;
namespace {

// time.M<microseconds>P<pid>Q<counter>.host, unique on this host as Maildir asks.
std::string uniqueName() {
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now).count();
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(now).count() % 1000000;
    std::string name = std::to_string(seconds) + ".M" + std::to_string(micros) + "P" +
                       std::to_string(getpid()) + "Q" + std::to_string(counter++) + ".";
    for (const char c : localHostName()) {
        name += (c == '/' || c == ':') ? '_' : c;
    }
    return name;
}

bool writeAll(int fd, std::string_view bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        written += static_cast<size_t>(count);
    }
    return true;
}

bool writeAllAndSync(const fs::path& file, const MimeWriter& message) {
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    const bool ok =
        message([fd](std::string_view piece) { return writeAll(fd, piece); }) && fsync(fd) == 0;
    return close(fd) == 0 && ok;
}

} // namespace

bool deliverToMaildir(const fs::path& folder, std::string_view message) {
    return deliverToMaildir(folder, [message](const MimeSink& sink) { return sink(message); });
}

bool deliverToMaildir(const fs::path& folder, const MimeWriter& message) {
    std::error_code error;
    for (const char* sub : {"tmp", "new", "cur"}) {
        fs::create_directories(folder / sub, error);
        if (error) {
            return false;
        }
    }
    const std::string name = uniqueName();
    const fs::path staged = folder / "tmp" / name;
    if (!writeAllAndSync(staged, message)) {
        fs::remove(staged, error);
        return false;
    }
    fs::rename(staged, folder / "new" / name, error);
    if (error) {
        fs::remove(staged, error);
        return false;
    }
    return true;
}

} // namespace velmora::platform
