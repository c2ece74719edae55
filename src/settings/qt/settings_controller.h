// The settings command (40024): shows the settings sheet over the main window.
#pragma once

#include "settings/qt/settings_host.h"
#include "ui/command.h"

namespace velmora::settings::qt {

class SettingsController {
  public:
    explicit SettingsController(SettingsHost& host) : host_(host) {}

    // Runs the command; false for an identifier that is not the settings command.
    bool onCommand(ui::Command id);

  private:
    SettingsHost& host_;
};

} // namespace velmora::settings::qt
