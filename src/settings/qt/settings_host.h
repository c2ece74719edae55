// What the settings sheet needs from the application: the settings record, the window the sheet
// covers, and the hardware buttons' hot keys, given back and taken over again around a change.
#pragma once

#include "settings/app_settings.h"

class QWidget;

namespace velmora::settings::qt {

class SettingsHost {
  public:
    virtual ~SettingsHost() = default;

    virtual AppSettings& appSettings() = 0;
    // The main window: the sheet is shown over it and covers it.
    virtual QWidget* dialogOwner() = 0;
    // Gives back every taken-over button / takes over the buttons that now have an action.
    virtual void unregisterButtons() = 0;
    virtual void registerButtons() = 0;
};

} // namespace velmora::settings::qt
