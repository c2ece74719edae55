#include "settings/registry_text.h"

#include "platform/registry_values.h"

namespace velmora::settings {

std::u16string readRegistryText(const platform::RegistryKey& key, std::u16string_view name) {
    constexpr size_t kTextBytes = 256;
    const auto query = key.queryValue(name, kTextBytes);
    return query.ok ? platform::textFromBytes(query.bytes) : std::u16string();
}

std::u16string withNumber(std::u16string_view prefix, int number) {
    std::u16string name(prefix);
    for (const char digit : std::to_string(number)) {
        name.push_back(static_cast<char16_t>(digit));
    }
    return name;
}

} // namespace velmora::settings
