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

// The map key of a normalized path: two bytes per code unit, so a prefix of n units is the
// first 2 n bytes.
std::string keyOf(std::u16string_view normalized) {
    std::string key;
    key.reserve(2 * normalized.size());
    for (const char16_t unit : foldCase(normalized)) {
        key.push_back(static_cast<char>(unit >> 8));
        key.push_back(static_cast<char>(unit & 0xFF));
    }
    return key;
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
    const auto found = keys_.find(keyOf(normalizeKeyPath(path)));
    return found == keys_.end() ? nullptr : &found->second;
}

RegistryKeyData& HiveData::createKey(std::u16string_view path) {
    const std::u16string normalized = normalizeKeyPath(path);
    const std::string folded = keyOf(normalized);
    if (const auto found = keys_.find(folded); found != keys_.end()) {
        return found->second;
    }
    // Every ancestor exists too, so that opening any of them succeeds. The key and its
    // ancestors are the prefixes ending at a separator or at the end, shortest first.
    std::vector<size_t> ends;
    for (size_t slash = normalized.find(u'\\'); slash != std::u16string::npos;
         slash = normalized.find(u'\\', slash + 1)) {
        ends.push_back(slash);
    }
    ends.push_back(normalized.size());
    // An existing key has all its ancestors already, so the existing prefixes come first. A
    // hive read back is written parents first: try the parent, then find the first missing
    // prefix by bisection.
    const auto exists = [&](size_t end) { return keys_.contains(folded.substr(0, 2 * end)); };
    const auto parent = ends.end() - (ends.size() > 1 ? 2 : 1);
    const auto firstMissing = parent + 1 == ends.end() || !exists(*parent)
                                  ? std::partition_point(ends.begin(), parent, exists)
                                  : parent + 1;
    auto at = firstMissing == ends.begin() ? keys_.end()
                                           : keys_.find(folded.substr(0, 2 * *(firstMissing - 1)));
    for (auto end = firstMissing; end != ends.end(); ++end) {
        // A new key sorts right after its parent when that has no other descendants, as every
        // parent made here: the hint then saves the search.
        at = keys_.try_emplace(at == keys_.end() ? at : std::next(at), folded.substr(0, 2 * *end),
                               RegistryKeyData{normalized.substr(0, *end), {}});
    }
    return at->second;
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
    const auto entry = keys_.find(keyOf(normalizeKeyPath(keyPath)));
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
