// The browsing commands: open (the open dialog with its thumbnail view) hands the chosen folder's
// pictures to the navigator and shows the chosen one.
#pragma once

#include "browse/navigator.h"
#include "browse/picture_choice.h"
#include "browse/qt/browse_host.h"
#include "settings/app_settings.h"
#include "ui/command.h"

namespace velmora::browse::qt {

class BrowseController {
  public:
    BrowseController(BrowseHost& host, Navigator& navigator, const settings::AppSettings& settings);

    // Runs a browsing command; false for an identifier that is not one.
    bool onCommand(ui::Command id);

  private:
    void open();
    void showChoice(const PictureChoice& choice);

    BrowseHost& host_;
    Navigator& navigator_;
    const settings::AppSettings& settings_;
};

} // namespace velmora::browse::qt
