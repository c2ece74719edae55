// The registry service: two hives (current user and local machine) kept as text files in the
// registry export format (user.reg and system.reg) in a configuration folder.
//
// Hives load lazily on first use. A hive file that is missing, unreadable or partly malformed
// yields whatever could be read; nothing here ever stops the program. A missing system.reg is
// the first run: the machine hive is then seeded with the device's hardware-button and
// network-redirector keys. Only a regular file is read: a named pipe or a device in a hive
// file's place loads nothing and is never waited on, nor replaced by a save. Changes to the machine
// hive are written at once; the user hive is written by save(Hive::CurrentUser) (the settings store
// does that when the program ends). Files are replaced through a temporary beside them, so a failed
// save keeps the old file.
//
// Single-threaded: the interface thread is the only user.
#pragma once

#include "platform/registry_hive.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

enum class Hive { CurrentUser, LocalMachine };

// Result of a query. When the value exists but is larger than the caller's capacity, ok is
// false and type still reports the stored type; a missing value has ok false and kRegNone.
struct [[nodiscard]] ValueQuery {
    bool ok = false;
    uint32_t type = kRegNone;
    std::vector<uint8_t> bytes;
};

class Registry;

// An open key; closes when it goes. A default-constructed or failed key is not open and every
// operation on it fails.
class RegistryKey {
  public:
    RegistryKey() = default;
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() = default;

    [[nodiscard]] bool isOpen() const { return registry_ != nullptr; }

    // The value's bytes if they fit into capacity bytes. The stored type is reported, not
    // checked against what the caller expects.
    ValueQuery queryValue(std::u16string_view name, size_t capacity) const;
    // The setters are false when the key is not open or a machine-hive value could not be
    // written to its file.
    [[nodiscard]] bool setValue(std::u16string_view name, uint32_t type,
                                std::span<const uint8_t> data);
    [[nodiscard]] bool setDword(std::u16string_view name, uint32_t number);
    // REG_SZ: the UTF-16LE code units, without a terminating NUL.
    [[nodiscard]] bool setString(std::u16string_view name, std::u16string_view text);
    [[nodiscard]] bool deleteValue(std::u16string_view name);

  private:
    friend class Registry;
    RegistryKey(Registry& registry, Hive hive, std::u16string path)
        : registry_(&registry), hive_(hive), path_(std::move(path)) {}

    Registry* registry_ = nullptr;
    Hive hive_ = Hive::CurrentUser;
    std::u16string path_;
};

class Registry {
  public:
    // Hives are read from and written to folder (created on the first save).
    explicit Registry(std::filesystem::path folder);
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    // Moves to another folder; hives loaded from the old one are dropped unsaved.
    void setFolder(std::filesystem::path folder);

    // Not open when the key does not exist.
    RegistryKey openKey(Hive hive, std::u16string_view path);
    // Opens the key, creating it and its ancestors when missing.
    RegistryKey createKey(Hive hive, std::u16string_view path);

    // Writes the hive's file. False (old file untouched) when it could not be written.
    [[nodiscard]] bool save(Hive hive);

    // The hive, loaded on first use.
    HiveData& hive(Hive hive);

  private:
    friend class RegistryKey;
    struct LoadedHive {
        bool loaded = false;
        HiveData data;
    };
    LoadedHive& slot(Hive hive) { return hive == Hive::CurrentUser ? user_ : machine_; }
    void load(Hive hive);
    // Called after every change: the machine hive is written straight away.
    // The machine hive is written through at once; false when that write failed.
    [[nodiscard]] bool changed(Hive hive);

    std::filesystem::path folder_;
    LoadedHive user_;
    LoadedHive machine_;
};

// $XDG_CONFIG_HOME/velmora, or ~/.config/velmora when that is not set.
std::filesystem::path defaultConfigFolder();

// The program's registry (hives in defaultConfigFolder() until setConfigFolder is called).
Registry& registry();
// Where the program's hives live (the --config option); call before the first registry use.
void setConfigFolder(const std::filesystem::path& folder);

// Hive file name inside the folder and the root key name the file's sections start with.
std::string_view hiveFileName(Hive hive);
std::string_view hiveRootName(Hive hive);

} // namespace velmora::platform
