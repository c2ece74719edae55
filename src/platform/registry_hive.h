// One registry hive in memory: keys addressed by '\'-separated paths, each holding typed values.
// Key paths and value names are matched without regard to ASCII case, as the platform does;
// the spelling first used is kept for writing the hive out.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

// Value types (the numbers the hive files and callers use).
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

struct RegistryValue {
    std::u16string name; // empty: the key's default value
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
};

struct RegistryKeyData {
    std::u16string path; // as first spelled, components joined by '\', empty for the hive root
    std::vector<RegistryValue> values; // in the order they were first set
};

// Splits on '\' and drops empty components ("A\\B\" and "A\B" are the same key).
std::u16string normalizeKeyPath(std::u16string_view path);

class HiveData {
  public:
    const RegistryKeyData* findKey(std::u16string_view path) const;
    // Creates the key and every missing ancestor; returns the key.
    RegistryKeyData& createKey(std::u16string_view path);
    [[nodiscard]] bool hasKey(std::u16string_view path) const { return findKey(path) != nullptr; }

    const RegistryValue* findValue(std::u16string_view keyPath, std::u16string_view name) const;
    // Creates the key when missing; replaces an existing value of the same name.
    void setValue(std::u16string_view keyPath, std::u16string_view name, uint32_t type,
                  std::vector<uint8_t> data);
    // False when the key or the value does not exist.
    [[nodiscard]] bool deleteValue(std::u16string_view keyPath, std::u16string_view name);

    // Every key, parents before their children.
    std::vector<const RegistryKeyData*> keys() const;
    [[nodiscard]] bool empty() const { return keys_.empty(); }

  private:
    // By case-folded normalized path, stored as big-endian byte pairs: they sort like the code
    // units and compare as plain bytes.
    std::map<std::string, RegistryKeyData> keys_;
};

} // namespace velmora::platform
