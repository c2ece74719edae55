// The network submenu: connect (40058) maps a network share to "\Network\VEL-Network" through
// the platform's connection dialog once the network folder is switched on; disconnect (40059)
// drops a mapping through the disconnection dialog. A cancelled dialog is silent.
#pragma once

#include "fileops/qt/sharing_host.h"
#include "ui/command.h"

namespace velmora::fileops::qt {

inline constexpr char16_t kNetworkLocalName[] = u"VEL-Network";

class NetworkController {
  public:
    explicit NetworkController(SharingHost& host) : host_(host) {}

    // Runs connect or disconnect; false for any other identifier.
    bool onCommand(ui::Command id);

  private:
    void connectShare();
    void disconnectShare();

    SharingHost& host_;
};

} // namespace velmora::fileops::qt
