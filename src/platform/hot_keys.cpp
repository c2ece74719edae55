#include "platform/hot_keys.h"

#include <algorithm>

namespace velmora::platform {

bool HotKeyTable::registerHotKey(int id, uint32_t virtualKey, uint32_t modifiers) {
    const auto holder = lookup(virtualKey);
    if (holder && holder->id != id) {
        return false;
    }
    (void)unregisterHotKey(id); // an id seen for the first time holds no key yet
    keys_.push_back({id, modifiers, virtualKey});
    return true;
}

bool HotKeyTable::unregisterHotKey(int id) {
    return std::erase_if(keys_, [id](const HotKey& key) { return key.id == id; }) > 0;
}

std::optional<HotKey> HotKeyTable::lookup(uint32_t virtualKey) const {
    const auto found = std::find_if(keys_.begin(), keys_.end(), [virtualKey](const HotKey& key) {
        return key.virtualKey == virtualKey;
    });
    return found == keys_.end() ? std::nullopt : std::optional<HotKey>(*found);
}

} // namespace velmora::platform
