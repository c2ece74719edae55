#include "platform/network_connections.h"

#include "platform/registry.h"
#include "platform/registry_values.h"
#include "util/text.h"

namespace velmora::platform {

void loadNetworkFolder() {
    const RegistryKey key = registry().openKey(Hive::LocalMachine, kRedirKey);
    const ValueQuery query = key.queryValue(kRegisterFsRootValue, 4);
    const auto value = query.ok ? dwordFromBytes(query.bytes) : std::nullopt;
    setNetworkFolderShown(value.value_or(0) != 0);
    setNetworkMappings(networkConnections());
}

std::vector<NetworkMapping> networkConnections() {
    std::vector<NetworkMapping> connections;
    const RegistryKeyData* key = registry().hive(Hive::LocalMachine).findKey(kConnectionsKey);
    if (key == nullptr) {
        return connections;
    }
    for (const auto& value : key->values) {
        const std::u16string folder = textFromBytes(value.data);
        if (value.type == kRegSz && !value.name.empty() && !folder.empty()) {
            connections.push_back({value.name, util::toUtf8(folder)});
        }
    }
    return connections;
}

bool addNetworkConnection(const NetworkMapping& connection) {
    RegistryKey key = registry().createKey(Hive::LocalMachine, kConnectionsKey);
    if (connection.localName.empty() ||
        !key.setString(connection.localName, util::toUtf16(connection.hostFolder.string()))) {
        return false;
    }
    setNetworkMappings(networkConnections());
    return true;
}

bool removeNetworkConnection(std::u16string_view localName) {
    RegistryKey key = registry().openKey(Hive::LocalMachine, kConnectionsKey);
    if (!key.deleteValue(localName)) {
        return false;
    }
    setNetworkMappings(networkConnections());
    return true;
}

} // namespace velmora::platform
