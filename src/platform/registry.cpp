#include "platform/registry.h"

#include "platform/registry_file.h"
#include "platform/registry_values.h"
#include "platform/regular_file.h"
#include "platform/replacement_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {

namespace {

namespace fs = std::filesystem;

// A hive file larger than this is not a hive the program wrote; it is ignored.
constexpr std::uintmax_t kMaxHiveFileBytes = 16u << 20;

// Only a regular file is a hive: a named pipe or a device in its place is never waited on.
std::optional<std::string> readHiveFile(const fs::path& file) {
    const FileDescriptor in = openRegularHostFile(file);
    struct stat info {};
    if (!in || fstat(in.get(), &info) != 0 ||
        static_cast<std::uintmax_t>(info.st_size) > kMaxHiveFileBytes) {
        return std::nullopt;
    }
    std::string bytes(static_cast<size_t>(info.st_size), '\0');
    size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = read(in.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        filled += static_cast<size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

// Whether something other than a regular file stands at path (a file that is not there, or a
// link to a regular file, is fine to replace).
bool isOtherThanFile(const fs::path& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

bool writeFileReplacing(const fs::path& target, std::string_view bytes) {
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (isOtherThanFile(target)) {
        return false;
    }
    ReplacementFile file(target);
    return file.write(bytes.data(), bytes.size()) && file.commit();
}

// The device's own description of its hardware buttons and network redirector.
void seedMachineHive(HiveData& hive) {
    for (int button = 1; button <= 12; ++button) {
        static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
        std::u16string key = u"SOFTWARE\\Microsoft\\Shell\\Keys\\40C";
        key.push_back(kDigits[button]);
        std::u16string name = u"F";
        if (button >= 10) {
            name.push_back(u'1');
        }
        name.push_back(static_cast<char16_t>(u'0' + button % 10));
        hive.setValue(key, u"Name", kRegSz, textBytes(name));
    }
    hive.createKey(u"Comm\\Redir");
}

} // namespace

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : registry_(other.registry_), hive_(other.hive_), path_(std::move(other.path_)) {
    other.registry_ = nullptr;
}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    registry_ = other.registry_;
    hive_ = other.hive_;
    path_ = std::move(other.path_);
    other.registry_ = nullptr;
    return *this;
}

ValueQuery RegistryKey::queryValue(std::u16string_view name, size_t capacity) const {
    ValueQuery result;
    if (!isOpen()) {
        return result;
    }
    const RegistryValue* value = registry_->hive(hive_).findValue(path_, name);
    if (value == nullptr) {
        return result;
    }
    result.type = value->type;
    if (value->data.size() <= capacity) {
        result.ok = true;
        result.bytes = value->data;
    }
    return result;
}

bool RegistryKey::setValue(std::u16string_view name, uint32_t type, std::span<const uint8_t> data) {
    if (!isOpen()) {
        return false;
    }
    registry_->hive(hive_).setValue(path_, name, type, {data.begin(), data.end()});
    return registry_->changed(hive_);
}

bool RegistryKey::setDword(std::u16string_view name, uint32_t number) {
    return setValue(name, kRegDword, dwordBytes(number));
}

bool RegistryKey::setString(std::u16string_view name, std::u16string_view text) {
    return setValue(name, kRegSz, textBytes(text));
}

bool RegistryKey::deleteValue(std::u16string_view name) {
    return isOpen() && registry_->hive(hive_).deleteValue(path_, name) && registry_->changed(hive_);
}

Registry::Registry(std::filesystem::path folder) : folder_(std::move(folder)) {}

void Registry::setFolder(std::filesystem::path folder) {
    folder_ = std::move(folder);
    user_ = {};
    machine_ = {};
}

RegistryKey Registry::openKey(Hive which, std::u16string_view path) {
    std::u16string normalized = normalizeKeyPath(path);
    if (!normalized.empty() && !hive(which).hasKey(normalized)) {
        return {};
    }
    return RegistryKey(*this, which, std::move(normalized));
}

RegistryKey Registry::createKey(Hive which, std::u16string_view path) {
    std::u16string normalized = normalizeKeyPath(path);
    if (!hive(which).hasKey(normalized)) {
        hive(which).createKey(normalized);
        // A failed write of the new key is repeated, and reported, by the next value set in it.
        (void)changed(which);
    }
    return RegistryKey(*this, which, std::move(normalized));
}

bool Registry::save(Hive which) {
    const std::string text = formatHiveText(hive(which), hiveRootName(which));
    return writeFileReplacing(folder_ / hiveFileName(which), text);
}

HiveData& Registry::hive(Hive which) {
    if (!slot(which).loaded) {
        load(which);
    }
    return slot(which).data;
}

void Registry::load(Hive which) {
    LoadedHive& loaded = slot(which);
    loaded.loaded = true;
    const fs::path file = folder_ / hiveFileName(which);
    std::error_code error;
    if (fs::status(file, error).type() == fs::file_type::not_found) {
        if (which == Hive::LocalMachine) {
            seedMachineHive(loaded.data);
            (void)save(which); // written again with the first change
        }
        return;
    }
    if (const auto text = readHiveFile(file)) {
        loaded.data = parseHiveText(*text, hiveRootName(which));
    }
}

bool Registry::changed(Hive which) {
    return which != Hive::LocalMachine || save(which);
}

std::filesystem::path defaultConfigFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && fs::path(configHome).is_absolute()) {
        return fs::path(configHome) / "velmora";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : ".";
    }
    return fs::path(home) / ".config" / "velmora";
}

Registry& registry() {
    static Registry instance(defaultConfigFolder());
    return instance;
}

void setConfigFolder(const std::filesystem::path& folder) {
    registry().setFolder(folder);
}

std::string_view hiveFileName(Hive hive) {
    return hive == Hive::CurrentUser ? "user.reg" : "system.reg";
}

std::string_view hiveRootName(Hive hive) {
    return hive == Hive::CurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

} // namespace velmora::platform
