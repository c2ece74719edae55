// The network redirector: its switch and the kept connections, in the machine hive.
// Connections are values of kConnectionsKey: the local name, and the host folder as text.
#pragma once

#include "platform/device_fs.h"

#include <string_view>
#include <vector>

namespace velmora::platform {

inline constexpr char16_t kRedirKey[] = u"Comm\\Redir";
inline constexpr char16_t kRegisterFsRootValue[] = u"RegisterFSRoot";
inline constexpr char16_t kConnectionsKey[] = u"Comm\\Redir\\Connections";

// Shows the network folder when the switch is on and maps the kept connections. Called once
// at start: the switch changes nothing until the next start.
void loadNetworkFolder();

std::vector<NetworkMapping> networkConnections();
// Keeps the connection (replacing one of the same local name) and maps it at once.
[[nodiscard]] bool addNetworkConnection(const NetworkMapping& connection);
// Forgets the connection and unmaps it; false when there was none of that name.
[[nodiscard]] bool removeNetworkConnection(std::u16string_view localName);

} // namespace velmora::platform
