// The hot-key table: keys the program has taken over from the shell. A press of a registered
// key is delivered to the program as a hot key with the id it was registered under.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace velmora::platform {

inline constexpr uint32_t kModWin = 0x0008;
inline constexpr uint32_t kModKeyUp = 0x1000;

struct HotKey {
    int id = 0;
    uint32_t modifiers = 0;
    uint32_t virtualKey = 0;
};

class HotKeyTable {
  public:
    // Fails when another id already holds the key. Registering an id again moves it to the
    // new key.
    [[nodiscard]] bool registerHotKey(int id, uint32_t virtualKey, uint32_t modifiers = 0);
    // False when the id was not registered.
    [[nodiscard]] bool unregisterHotKey(int id);
    std::optional<HotKey> lookup(uint32_t virtualKey) const;
    [[nodiscard]] bool empty() const { return keys_.empty(); }

  private:
    std::vector<HotKey> keys_;
};

} // namespace velmora::platform
