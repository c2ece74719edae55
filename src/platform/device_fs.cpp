#include "platform/device_fs.h"

#include "platform/regular_file.h"
#include "util/text.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <sys/stat.h>

namespace velmora::platform {
namespace fs = std::filesystem;
namespace {

fs::path& rootPath() {
    static fs::path root = "/";
    return root;
}

FileTime toFileTime(const struct stat& info) {
    std::tm parts{};
    const time_t seconds = info.st_mtime;
    localtime_r(&seconds, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

uint32_t attributesOf(const fs::path& host, const struct stat& info) {
    uint32_t attributes = 0;
    const auto name = host.filename().string();
    if (!name.empty() && name[0] == '.') {
        attributes |= kAttrHidden;
    }
    if (S_ISDIR(info.st_mode)) {
        attributes |= kAttrDirectory;
        struct stat parent {};
        if (stat(host.parent_path().c_str(), &parent) == 0 && parent.st_dev != info.st_dev) {
            attributes |= kAttrStorageCard;
        }
    } else if (!S_ISREG(info.st_mode)) {
        attributes |= kAttrDevice;
    }
    return attributes == 0 ? kAttrNormal : attributes;
}

std::optional<FindEntry> entryFor(const fs::path& host) {
    struct stat info {};
    if (stat(host.c_str(), &info) != 0) {
        return std::nullopt;
    }
    FindEntry entry;
    entry.name = util::toUtf16(host.filename().string());
    entry.attributes = attributesOf(host, info);
    entry.size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
    entry.lastWrite = toFileTime(info);
    return entry;
}

} // namespace

void setDeviceRoot(const fs::path& hostFolder) {
    rootPath() = hostFolder;
}

const fs::path& deviceRoot() {
    return rootPath();
}

fs::path toHostPath(std::u16string_view devicePath) {
    fs::path host = rootPath();
    size_t start = 0;
    while (start <= devicePath.size()) {
        size_t end = devicePath.find(u'\\', start);
        if (end == std::u16string_view::npos) {
            end = devicePath.size();
        }
        const auto part = devicePath.substr(start, end - start);
        if (part == u"..") {
            return {};
        }
        if (!part.empty() && part != u".") {
            host /= util::toUtf8(part);
        }
        start = end + 1;
    }
    return host;
}

std::optional<std::u16string> toDevicePath(const fs::path& hostPath) {
    std::error_code error;
    const auto absolute = fs::weakly_canonical(fs::absolute(hostPath, error), error);
    const auto root = fs::weakly_canonical(rootPath(), error);
    if (error) {
        return std::nullopt;
    }
    const auto relative = absolute.lexically_relative(root);
    if (relative.empty() || *relative.begin() == "..") {
        return std::nullopt;
    }
    std::u16string device;
    for (const auto& part : relative) {
        if (part == ".") {
            continue;
        }
        device += u'\\';
        device += util::toUtf16(part.string());
    }
    return device.empty() ? std::u16string(u"\\") : device;
}

uint32_t fileAttributes(std::u16string_view devicePath) {
    const auto host = toHostPath(devicePath);
    struct stat info {};
    if (host.empty() || stat(host.c_str(), &info) != 0) {
        return kInvalidAttributes;
    }
    return attributesOf(host, info);
}

bool isDirectory(std::u16string_view devicePath) {
    const uint32_t attributes = fileAttributes(devicePath);
    return attributes != kInvalidAttributes && (attributes & kAttrDirectory) != 0;
}

bool exists(std::u16string_view devicePath) {
    return fileAttributes(devicePath) != kInvalidAttributes;
}

std::optional<std::vector<FindEntry>> findFiles(std::u16string_view folderWithPattern) {
    const auto folder = toHostPath(folderPart(folderWithPattern));
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (folder.empty() || error) {
        return std::nullopt;
    }
    std::vector<FindEntry> entries;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) {
            break;
        }
        if (auto entry = entryFor(it->path())) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

std::optional<FindEntry> findFile(std::u16string_view devicePath) {
    const auto host = toHostPath(devicePath);
    return host.empty() ? std::nullopt : entryFor(host);
}

bool copyFile(std::u16string_view from, std::u16string_view to, bool failIfExists) {
    const auto source = toHostPath(from), target = toHostPath(to);
    std::error_code error;
    if (source.empty() || target.empty() || !fs::is_regular_file(source, error)) {
        return false;
    }
    const auto options =
        failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing;
    return fs::copy_file(source, target, options, error) && !error;
}

bool moveFile(std::u16string_view from, std::u16string_view to) {
    const auto source = toHostPath(from), target = toHostPath(to);
    std::error_code error;
    if (source.empty() || target.empty() || fs::exists(target, error) ||
        !fs::exists(source, error)) {
        return false;
    }
    fs::rename(source, target, error);
    if (error == std::errc::cross_device_link) {
        error.clear();
        fs::copy(source, target, fs::copy_options::recursive, error);
        if (!error) {
            fs::remove_all(source, error);
        }
    }
    return !error;
}

bool deleteFile(std::u16string_view devicePath) {
    const auto host = toHostPath(devicePath);
    std::error_code error;
    return !host.empty() && !fs::is_directory(host, error) && fs::remove(host, error) && !error;
}

bool createDirectory(std::u16string_view devicePath) {
    const auto host = toHostPath(devicePath);
    std::error_code error;
    return !host.empty() && fs::create_directory(host, error) && !error;
}

std::optional<std::vector<uint8_t>> readWholeFile(std::u16string_view devicePath,
                                                  uint64_t maxBytes) {
    const FilePtr file = openRegularFile(devicePath);
    struct stat info {};
    if (!file || fstat(fileno(file.get()), &info) != 0 ||
        static_cast<uint64_t>(info.st_size) > maxBytes) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(info.st_size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return std::nullopt;
    }
    return bytes;
}

std::u16string fileNamePart(std::u16string_view path) {
    const auto slash = path.rfind(u'\\');
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

std::u16string folderPart(std::u16string_view path) {
    const auto slash = path.rfind(u'\\');
    return slash == std::u16string_view::npos ? std::u16string()
                                              : std::u16string(path.substr(0, slash + 1));
}

} // namespace velmora::platform
