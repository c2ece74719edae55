#include "platform/registry_hive.h"

#include <algorithm>

namespace velmora::platform {

namespace {

std::u16string foldCase(std::u16string_view text) {
    std::u16string folded(text);
    for (char16_t& unit : folded) {
        if (unit >= u'A' && unit <= u'Z') {
            unit = static_cast<char16_t>(unit - u'A' + u'a');
        }
    }
    return folded;
}

bool sameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && foldCase(a) == foldCase(b);
}

} // namespace

std::u16string normalizeKeyPath(std::u16string_view path) {
    std::u16string normalized;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find(u'\\', start), path.size());
        if (end > start) {
            if (!normalized.empty()) {
                normalized.push_back(u'\\');
            }
            normalized.append(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return normalized;
}

const RegistryKeyData* HiveData::findKey(std::u16string_view path) const {
    const auto found = keys_.find(foldCase(normalizeKeyPath(path)));
    return found == keys_.end() ? nullptr : &found->second;
}

RegistryKeyData& HiveData::createKey(std::u16string_view path) {
    const std::u16string normalized = normalizeKeyPath(path);
    const std::u16string folded = foldCase(normalized); // same length: only ASCII is folded
    // Every ancestor exists too, so that opening any of them succeeds. An existing key has all
    // its ancestors already: walk up to the nearest existing one and make the rest from there,
    // so that reading a hive written parents first costs one or two look-ups per key.
    std::vector<size_t> missing; // lengths of the prefixes to make, longest first
    for (size_t end = normalized.size(); !keys_.contains(folded.substr(0, end));) {
        missing.push_back(end);
        const size_t slash = end == 0 ? std::u16string::npos : normalized.rfind(u'\\', end - 1);
        if (slash == std::u16string::npos) {
            break;
        }
        end = slash;
    }
    for (auto end = missing.rbegin(); end != missing.rend(); ++end) {
        keys_.try_emplace(folded.substr(0, *end)).first->second.path = normalized.substr(0, *end);
    }
    return keys_.find(folded)->second;
}

const RegistryValue* HiveData::findValue(std::u16string_view keyPath,
                                         std::u16string_view name) const {
    const RegistryKeyData* key = findKey(keyPath);
    if (key == nullptr) {
        return nullptr;
    }
    const auto found = std::find_if(key->values.begin(), key->values.end(),
                                    [&](const RegistryValue& v) { return sameName(v.name, name); });
    return found == key->values.end() ? nullptr : &*found;
}

void HiveData::setValue(std::u16string_view keyPath, std::u16string_view name, uint32_t type,
                        std::vector<uint8_t> data) {
    RegistryKeyData& key = createKey(keyPath);
    const auto found = std::find_if(key.values.begin(), key.values.end(),
                                    [&](const RegistryValue& v) { return sameName(v.name, name); });
    if (found != key.values.end()) {
        found->type = type;
        found->data = std::move(data);
    } else {
        key.values.push_back({std::u16string(name), type, std::move(data)});
    }
}

bool HiveData::deleteValue(std::u16string_view keyPath, std::u16string_view name) {
    const auto entry = keys_.find(foldCase(normalizeKeyPath(keyPath)));
    if (entry == keys_.end()) {
        return false;
    }
    auto& values = entry->second.values;
    const auto found = std::find_if(values.begin(), values.end(),
                                    [&](const RegistryValue& v) { return sameName(v.name, name); });
    if (found == values.end()) {
        return false;
    }
    values.erase(found);
    return true;
}

std::vector<const RegistryKeyData*> HiveData::keys() const {
    // The map orders by folded path, and a path sorts after every proper prefix of it.
    std::vector<const RegistryKeyData*> all;
    all.reserve(keys_.size());
    for (const auto& [folded, key] : keys_) {
        all.push_back(&key);
    }
    return all;
}

} // namespace velmora::platform
