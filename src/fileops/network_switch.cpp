#include "fileops/network_switch.h"

#include "platform/network_connections.h"
#include "platform/registry.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

namespace velmora::fileops {
namespace {

// The value is read into a buffer of this size, of which the first four bytes count.
constexpr size_t kSwitchBufferBytes = 520;

bool switchIsOn() {
    const platform::RegistryKey key =
        platform::registry().createKey(platform::Hive::LocalMachine, platform::kRedirKey);
    if (!key.isOpen()) {
        return false;
    }
    const platform::ValueQuery query =
        key.queryValue(platform::kRegisterFsRootValue, kSwitchBufferBytes);
    uint32_t value = 0;
    for (size_t i = 0; query.ok && i < 4 && i < query.bytes.size(); ++i) {
        value |= static_cast<uint32_t>(query.bytes[i]) << (8 * i);
    }
    return value != 0;
}

} // namespace

bool checkNetworkFolderSwitch() {
    if (switchIsOn()) {
        return true;
    }
    if (ui::askYesNo(ui::str::kNetworkHidden) != ui::kButtonYes) {
        return false;
    }
    // A switch that could not be stored would be off again after the reset the user is asked for.
    if (!platform::registry()
             .createKey(platform::Hive::LocalMachine, platform::kRedirKey)
             .setDword(platform::kRegisterFsRootValue, 1)) {
        ui::showError(ui::str::kOperationFailed);
        return false;
    }
    ui::showInfo(ui::str::kSoftResetNeeded);
    return false;
}

} // namespace velmora::fileops
