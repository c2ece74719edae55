#include "settings/app_settings.h"

#include "platform/device_fs.h"
#include "platform/registry.h"
#include "platform/registry_values.h"
#include "settings/registry_text.h"

#include <algorithm>
#include <optional>
#include <type_traits>

namespace velmora::settings {

namespace {

using platform::Hive;
using platform::RegistryKey;

constexpr std::u16string_view kKeyPath = u"Software\\Quorrin\\Velmora";
constexpr std::u16string_view kLastDirName = u"LASTCURDIR";
constexpr size_t kNumberBytes = 4;

// Every stored number and flag, in the order they are read and written: number(name, field,
// low, high) for a number or a mode kept in [low, high], flag(name, field) for an on/off option.
template <class Settings, class Number, class Flag>
void visitStoredValues(Settings& s, const Number& number, const Flag& flag) {
    number(u"XMOVE", s.moveStepX, 1, 999);
    number(u"YMOVE", s.moveStepY, 1, 999);
    number(u"VORIGIN", s.placement, 0, 2);
    number(u"XSEEK", s.seekStepX, 1, 999);
    number(u"YSEEK", s.seekStepY, 1, 999);
    number(u"SEEKDIREC", s.seekOrder, 0, 1);
    for (int key = 0; key < kArrowKeys; ++key) {
        number(withNumber(u"KEYFUNC", key), s.arrowKeyFunctions[key], 0, 12);
    }
    for (int button = 1; button <= kStoredButtons; ++button) {
        number(withNumber(u"BTNFUNC", button), s.buttonFunctions[button], 0, 12);
    }
    static constexpr std::u16string_view kExtensionNames[] = {u"EXTJPG", u"EXTGIF", u"EXTBMP",
                                                              u"EXTMAG", u"EXTPNG", u"EXTTIF"};
    for (size_t format = 0; format < std::size(kExtensionNames); ++format) {
        flag(kExtensionNames[format], s.extensionEnabled[format]);
    }
    number(u"DISPOPT", s.initialZoom, 0, 4);
    flag(u"VIEWHQ", s.smoothReduction);
    flag(u"USEPRELOAD", s.usePreload);
    flag(u"OPENLASTFILE", s.openLastFile);
    flag(u"THUMBCACHE", s.thumbCache);
    number(u"DBLCLKOPT", s.doubleTapAction, 0, 4);
    flag(u"USETRASH", s.useTrash);
    flag(u"AUTOROTATE", s.autoRotate);
    flag(u"COLORMANAGE", s.colorManage);
    flag(u"DIALOGMEMORY", s.dialogMemory);
    // The formats added after the first six, stored after everything above.
    static constexpr std::u16string_view kNewerExtensionNames[] = {u"EXTWEBP", u"EXTAVIF",
                                                                   u"EXTHEIF", u"EXTJXL"};
    for (size_t added = 0; added < std::size(kNewerExtensionNames); ++added) {
        flag(kNewerExtensionNames[added], s.extensionEnabled[std::size(kExtensionNames) + added]);
    }
    flag(u"KEEPMETADATA", s.keepMetadata);
    flag(u"LOSSLESSTURN", s.losslessTurns);
    flag(u"PREVIEWBIG", s.reducedFirstView);
    flag(u"SHOWALPHA", s.showAlpha);
    flag(u"ANIMATE", s.animate);
}

// A 32-bit number; values of any other size are treated as missing.
std::optional<int32_t> readNumber(const RegistryKey& key, std::u16string_view name) {
    const auto query = key.queryValue(name, kNumberBytes);
    if (!query.ok) {
        return std::nullopt;
    }
    const auto number = platform::dwordFromBytes(query.bytes);
    return number ? std::optional<int32_t>(static_cast<int32_t>(*number)) : std::nullopt;
}

} // namespace

AppSettings::AppSettings(int screenWidth, int screenHeight)
    : seekStepX(screenWidth / 2), seekStepY(screenHeight / 2) {}

void AppSettings::load() {
    const RegistryKey key = platform::registry().openKey(Hive::CurrentUser, kKeyPath);
    if (!key.isOpen()) {
        return;
    }
    visitStoredValues(
        *this,
        [&key](std::u16string_view name, auto& field, int32_t low, int32_t high) {
            if (const auto number = readNumber(key, name)) {
                field = static_cast<std::remove_cvref_t<decltype(field)>>(
                    std::clamp(*number, low, high));
            }
        },
        [&key](std::u16string_view name, bool& field) {
            if (const auto number = readNumber(key, name)) {
                field = *number != 0;
            }
        });
    const std::u16string folder = readRegistryText(key, kLastDirName);
    if (platform::isDirectory(u"\\" + folder)) {
        lastBrowseDir() = folder;
    }
    // A missing entry does not end the list: the later ones are still read. A path stored twice
    // (by an older version, or left in a slot beyond a shorter list) is listed once.
    for (int i = 1; i <= kRecentFileLimit && recentFileCount() < kRecentFileLimit; ++i) {
        std::u16string path = readRegistryText(key, withNumber(u"LASTFILE", i));
        if (!path.empty() && std::ranges::find(recentFiles, path) == recentFiles.end()) {
            recentFiles.push_back(std::move(path));
        }
    }
}

void AppSettings::save() const {
    RegistryKey key = platform::registry().createKey(Hive::CurrentUser, kKeyPath);
    if (!key.isOpen()) {
        return;
    }
    // Setting a value in an open user-hive key only changes memory: it cannot fail. The file is
    // written at the end; one that cannot be written keeps the settings of the last good save.
    visitStoredValues(
        *this,
        [&key](std::u16string_view name, const auto& field, int32_t, int32_t) {
            (void)key.setDword(name, static_cast<uint32_t>(field));
        },
        [&key](std::u16string_view name, bool field) { (void)key.setDword(name, field ? 1 : 0); });
    // An empty folder writes nothing, so the stored one stays.
    if (!lastBrowseDir().empty()) {
        (void)key.setString(kLastDirName, lastBrowseDir());
    }
    // Entries beyond the list are left as they are.
    for (int i = 0; i < recentFileCount(); ++i) {
        (void)key.setString(withNumber(u"LASTFILE", i + 1), recentFiles[static_cast<size_t>(i)]);
    }
    (void)platform::registry().save(Hive::CurrentUser);
}

void AppSettings::addRecentFile(const std::u16string& path) {
    // A path already in the list moves to the front instead of being listed twice.
    std::erase(recentFiles, path);
    recentFiles.insert(recentFiles.begin(), path);
    if (recentFileCount() > kRecentFileLimit) {
        recentFiles.pop_back();
    }
}

std::u16string AppSettings::recentFileAt(int index) const {
    if (index < 0 || index >= recentFileCount()) {
        return u"none";
    }
    return recentFiles[static_cast<size_t>(index)];
}

bool AppSettings::formatEnabled(int format) const {
    if (format < 1 || format > static_cast<int>(extensionEnabled.size())) {
        return false;
    }
    return extensionEnabled[static_cast<size_t>(format - 1)];
}

std::u16string& lastBrowseDir() {
    static std::u16string folder;
    return folder;
}

} // namespace velmora::settings
