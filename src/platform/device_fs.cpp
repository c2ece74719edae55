#include "platform/device_fs.h"

#include "platform/file_faults.h"
#include "platform/file_transfer.h"
#include "platform/host_names.h"
#include "platform/regular_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <mutex>
#include <sys/stat.h>

namespace velmora::platform {
namespace fs = std::filesystem;
namespace {

fs::path& rootPath() {
    static fs::path root = "/";
    return root;
}

struct NetworkFolder {
    std::mutex mutex;
    bool shown = false;
    std::vector<NetworkMapping> mappings;
};

NetworkFolder& networkFolder() {
    static NetworkFolder folder;
    return folder;
}

std::optional<fs::path> mappedHostFolder(std::u16string_view localName) {
    NetworkFolder& network = networkFolder();
    const std::lock_guard lock(network.mutex);
    for (const auto& mapping : network.mappings) {
        if (mapping.localName == localName) {
            return mapping.hostFolder;
        }
    }
    return std::nullopt;
}

// A name that would step out of its folder or be read by the host as more than one name.
bool isUnusableName(std::u16string_view part) {
    constexpr std::u16string_view kHostSeparators(u"/\0", 2); // '/' and NUL
    return part == u"." || part == u".." ||
           part.find_first_of(kHostSeparators) != std::u16string_view::npos;
}

// The path's names without empty parts; nothing when one of them is unusable.
std::optional<std::vector<std::u16string_view>> pathParts(std::u16string_view devicePath) {
    std::vector<std::u16string_view> parts;
    size_t start = 0;
    while (start <= devicePath.size()) {
        size_t end = devicePath.find(u'\\', start);
        if (end == std::u16string_view::npos) {
            end = devicePath.size();
        }
        const auto part = devicePath.substr(start, end - start);
        if (isUnusableName(part)) {
            return std::nullopt;
        }
        if (!part.empty()) {
            parts.push_back(part);
        }
        start = end + 1;
    }
    return parts;
}

bool isNetworkPart(std::u16string_view part) {
    return part == kNetworkFolderName && networkFolderShown();
}

// "\Network" itself: a folder with no host folder behind it.
bool isNetworkFolder(std::u16string_view devicePath) {
    const auto parts = pathParts(devicePath);
    return parts && parts->size() == 1 && isNetworkPart(parts->front());
}

bool isDeviceRoot(std::u16string_view devicePath) {
    const auto parts = pathParts(devicePath);
    return parts && parts->empty();
}

FindEntry networkFolderEntry() {
    FindEntry entry;
    entry.name = kNetworkFolderName;
    entry.attributes = kAttrDirectory;
    return entry;
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
    entry.name = deviceNameOf(host.filename().string());
    entry.attributes = attributesOf(host, info);
    entry.size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
    entry.lastWrite = toFileTime(info);
    return entry;
}

// One entry per connection whose host folder can be reached, under its local name.
std::vector<FindEntry> listNetworkFolder() {
    std::vector<NetworkMapping> mappings;
    {
        NetworkFolder& network = networkFolder();
        const std::lock_guard lock(network.mutex);
        mappings = network.mappings;
    }
    std::vector<FindEntry> entries;
    for (const auto& mapping : mappings) {
        auto entry = entryFor(mapping.hostFolder);
        if (entry && (entry->attributes & kAttrDirectory) != 0) {
            entry->name = mapping.localName;
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

} // namespace

void setDeviceRoot(const fs::path& hostFolder) {
    // Setting the same folder again writes nothing: the start-up read-ahead may be translating
    // a path on its worker meanwhile.
    if (rootPath() != hostFolder) {
        rootPath() = hostFolder;
    }
}

void setNetworkFolderShown(bool shown) {
    NetworkFolder& network = networkFolder();
    const std::lock_guard lock(network.mutex);
    network.shown = shown;
}

bool networkFolderShown() {
    NetworkFolder& network = networkFolder();
    const std::lock_guard lock(network.mutex);
    return network.shown;
}

void setNetworkMappings(std::vector<NetworkMapping> mappings) {
    NetworkFolder& network = networkFolder();
    const std::lock_guard lock(network.mutex);
    network.mappings = std::move(mappings);
}

fs::path toHostPath(std::u16string_view devicePath) {
    const auto parts = pathParts(devicePath);
    if (!parts) {
        return {};
    }
    fs::path host = rootPath();
    size_t first = 0;
    if (!parts->empty() && isNetworkPart(parts->front())) {
        const auto mapped = parts->size() > 1 ? mappedHostFolder((*parts)[1]) : std::nullopt;
        if (!mapped) {
            return {};
        }
        host = *mapped;
        first = 2;
    }
    for (size_t i = first; i < parts->size(); ++i) {
        const auto name = hostNameOf((*parts)[i]);
        if (!name) {
            return {};
        }
        host /= *name;
    }
    return host;
}

bool isUsablePath(std::u16string_view devicePath) {
    return isNetworkFolder(devicePath) || !toHostPath(devicePath).empty();
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
        device += deviceNameOf(part.string());
    }
    return device.empty() ? std::u16string(u"\\") : device;
}

uint32_t fileAttributes(std::u16string_view devicePath) {
    if (isNetworkFolder(devicePath)) {
        return kAttrDirectory;
    }
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

bool isSameFile(std::u16string_view first, std::u16string_view second) {
    const auto a = toHostPath(first);
    const auto b = toHostPath(second);
    struct stat infoA {
    }, infoB{};
    return !a.empty() && !b.empty() && stat(a.c_str(), &infoA) == 0 &&
           stat(b.c_str(), &infoB) == 0 && infoA.st_dev == infoB.st_dev &&
           infoA.st_ino == infoB.st_ino;
}

std::optional<std::vector<FindEntry>> findFiles(std::u16string_view folderWithPattern) {
    const std::u16string deviceFolder = folderPart(folderWithPattern);
    if (isNetworkFolder(deviceFolder)) {
        return listNetworkFolder();
    }
    const auto folder = toHostPath(deviceFolder);
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
    if (isDeviceRoot(deviceFolder) && networkFolderShown()) {
        std::erase_if(entries,
                      [](const FindEntry& entry) { return entry.name == kNetworkFolderName; });
        entries.push_back(networkFolderEntry());
    }
    return entries;
}

std::optional<FindEntry> findFile(std::u16string_view devicePath) {
    if (isNetworkFolder(devicePath)) {
        return networkFolderEntry();
    }
    const auto host = toHostPath(devicePath);
    return host.empty() ? std::nullopt : entryFor(host);
}

bool copyFile(std::u16string_view from, std::u16string_view to, bool failIfExists) {
    return copyFileChecked(toHostPath(from), toHostPath(to),
                           failIfExists ? Overwrite::Never : Overwrite::Replace);
}

bool moveFile(std::u16string_view from, std::u16string_view to) {
    return moveFileChecked(toHostPath(from), toHostPath(to), Overwrite::Never);
}

bool moveFileReplacing(std::u16string_view from, std::u16string_view to) {
    return moveFileChecked(toHostPath(from), toHostPath(to), Overwrite::Replace);
}

bool deleteFile(std::u16string_view devicePath) {
    const auto host = toHostPath(devicePath);
    std::error_code error;
    return !host.empty() && !fs::is_directory(host, error) &&
           injectedFault(FileStep::Remove) == 0 && fs::remove(host, error) && !error;
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
