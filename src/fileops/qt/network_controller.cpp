#include "fileops/qt/network_controller.h"

#include "fileops/network_switch.h"
#include "platform/qt/network_dialogs.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

namespace velmora::fileops::qt {
namespace {

bool failedDialog(int result) {
    return result != 0 && result != platform::qt::kNetDialogCancelled;
}

} // namespace

bool NetworkController::onCommand(ui::Command id) {
    switch (id) {
    case ui::Command::NetworkConnect:
        connectShare();
        return true;
    case ui::Command::NetworkDisconnect:
        disconnectShare();
        return true;
    default:
        return false;
    }
}

void NetworkController::connectShare() {
    // A switch turned on now counts from the next start: no dialog this time.
    if (!checkNetworkFolderSwitch()) {
        return;
    }
    platform::qt::NetResource resource;
    resource.localName = kNetworkLocalName;
    platform::qt::ConnectDialogRequest request;
    request.owner = host_.dialogOwner();
    request.resource = &resource;
    if (failedDialog(platform::qt::connectionDialog(request))) {
        ui::showError(ui::str::kNetworkConnectFailed);
    }
}

void NetworkController::disconnectShare() {
    if (failedDialog(platform::qt::disconnectionDialog(host_.dialogOwner(),
                                                       platform::qt::kResourceTypeAny))) {
        ui::showError(ui::str::kNetworkDisconnectFailed);
    }
}

} // namespace velmora::fileops::qt
