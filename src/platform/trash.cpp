#include "platform/trash.h"

#include "platform/device_fs.h"
#include "platform/file_faults.h"
#include "platform/host_names.h"
#include "platform/replacement_file.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {
namespace fs = std::filesystem;
namespace {

constexpr int kMaxNameAttempts = 10000;
// A name in files/ leaves room for its info file's ".trashinfo" within the 255-byte limit.
constexpr size_t kMaxTrashNameBytes = 255 - std::string_view(".trashinfo").size();

struct TrashFolder {
    fs::path folder;
    fs::path top; // the mount's top for a $topdir trash, empty for the home trash
};

bool isRealDirectory(const fs::path& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folder, made with the trash's private permissions when missing.
bool ensureFolder(const fs::path& folder) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return isRealDirectory(folder);
}

// The home trash may also be a link to a folder of the user's own (a trash kept elsewhere).
bool ensureHomeTrash(const fs::path& folder) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid();
}

// The file system of the nearest existing folder on the way to path.
std::optional<dev_t> deviceOf(fs::path path) {
    for (;;) {
        struct stat info {};
        if (stat(path.c_str(), &info) == 0) {
            return info.st_dev;
        }
        if (!path.has_relative_path()) {
            return std::nullopt;
        }
        path = path.parent_path();
    }
}

// The top folder of the mount that holds folder (device is its file system).
fs::path mountTop(fs::path folder, dev_t device) {
    while (folder.has_relative_path()) {
        struct stat parent {};
        if (stat(folder.parent_path().c_str(), &parent) != 0 || parent.st_dev != device) {
            break;
        }
        folder = folder.parent_path();
    }
    return folder;
}

std::optional<TrashFolder> topTrash(const fs::path& top) {
    const std::string uid = std::to_string(getuid());
    // An administrator-made .Trash counts only as a sticky folder (not a link).
    const fs::path shared = top / ".Trash";
    struct stat info {};
    if (lstat(shared.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX)) {
        if (ensureFolder(shared / uid)) {
            return TrashFolder{shared / uid, top};
        }
    }
    const fs::path own = top / (".Trash-" + uid);
    if (ensureFolder(own) && lstat(own.c_str(), &info) == 0 && info.st_uid == getuid()) {
        return TrashFolder{own, top};
    }
    return std::nullopt;
}

std::optional<TrashFolder> trashFor(const fs::path& file, dev_t device) {
    const fs::path home = homeTrashFolder();
    std::optional<TrashFolder> trash;
    if (deviceOf(home) == device) {
        std::error_code error;
        fs::create_directories(home.parent_path(), error);
        if (ensureHomeTrash(home)) {
            trash = TrashFolder{home, {}};
        }
    } else {
        trash = topTrash(mountTop(file.parent_path(), device));
    }
    if (trash && ensureFolder(trash->folder / "files") && ensureFolder(trash->folder / "info")) {
        return trash;
    }
    return std::nullopt;
}

// The path as a URL escapes it (RFC 2396): unreserved characters and '/' stay.
std::string escapedPath(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') ||
                           std::string_view("-_.!~*'()/").find(c) != std::string_view::npos;
        if (plain) {
            escaped.push_back(c);
        } else {
            escaped += {'%', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return escaped;
}

std::string trashInfo(const TrashFolder& trash, const fs::path& file) {
    // The home trash records absolute paths, a mount's trash paths from the mount's top.
    const fs::path original = trash.top.empty() ? file : file.lexically_relative(trash.top);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[32] = {};
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + escapedPath(original.string()) + "\nDeletionDate=" + date + "\n";
}

// "photo.jpg", then "photo.2.jpg", "photo.3.jpg", ...; a long name is shortened before its
// extension (the info file keeps the whole original path).
std::string candidateName(const fs::path& file, int attempt) {
    std::string stem = file.stem().string();
    std::string ending = file.extension().string();
    if (ending.size() > kMaxTrashNameBytes / 2) {
        stem += ending; // not an extension worth keeping: shortened with the rest
        ending.clear();
    }
    if (attempt > 1) {
        ending = "." + std::to_string(attempt) + ending;
    }
    return shortenedHostName(stem, kMaxTrashNameBytes - ending.size()) + ending;
}

bool writeAll(int descriptor, const std::string& text) {
    if (injectedFault(FileStep::Write) != 0) {
        return false;
    }
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = write(descriptor, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return false;
        }
        done += static_cast<size_t>(wrote);
    }
    return true;
}

// Claims a free name with its info file (written first, as the freedesktop.org trash layout
// asks); empty when no info file could be written.
std::string claimName(const TrashFolder& trash, const fs::path& file) {
    const std::string info = trashInfo(trash, file);
    for (int attempt = 1; attempt <= kMaxNameAttempts; ++attempt) {
        const std::string name = candidateName(file, attempt);
        const fs::path infoPath = trash.folder / "info" / (name + ".trashinfo");
        const int descriptor =
            open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (descriptor < 0 && errno == EEXIST) {
            continue;
        }
        if (descriptor < 0) {
            return {};
        }
        struct stat taken {};
        const bool nameFree = lstat((trash.folder / "files" / name).c_str(), &taken) != 0;
        const bool written = nameFree && writeAll(descriptor, info);
        const bool closed = close(descriptor) == 0;
        if (written && closed) {
            return name;
        }
        unlink(infoPath.c_str());
        if (!nameFree) {
            continue;
        }
        return {};
    }
    return {};
}

} // namespace

fs::path homeTrashFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        return fs::path(dataHome) / "Trash";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : "/";
    }
    return fs::path(home) / ".local" / "share" / "Trash";
}

TrashResult moveHostFileToTrash(const fs::path& hostFile) {
    std::error_code error;
    const fs::path file = fs::absolute(hostFile, error).lexically_normal();
    struct stat info {};
    if (error || hostFile.empty() || lstat(file.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return TrashResult::Failed;
    }
    const auto trash = trashFor(file, info.st_dev);
    if (!trash) {
        return TrashResult::Unavailable;
    }
    const std::string name = claimName(*trash, file);
    if (name.empty()) {
        return TrashResult::Unavailable;
    }
    if (injectedFault(FileStep::Move) == 0 &&
        renameWithoutReplacing(file, trash->folder / "files" / name)) {
        return TrashResult::Trashed;
    }
    unlink((trash->folder / "info" / (name + ".trashinfo")).c_str());
    return TrashResult::Failed;
}

TrashResult moveToTrash(std::u16string_view devicePath) {
    const fs::path host = toHostPath(devicePath);
    return host.empty() ? TrashResult::Failed : moveHostFileToTrash(host);
}

} // namespace velmora::platform
