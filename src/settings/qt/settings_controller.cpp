#include "settings/qt/settings_controller.h"

#include "app/command_ids.h"
#include "settings/qt/settings_sheet.h"

namespace velmora::settings::qt {

bool SettingsController::onCommand(int id) {
    if (id != app::kCmdSettings) {
        return false;
    }
    SettingsSheet sheet(host_, host_.sheetOwner());
    sheet.exec();
    return true;
}

} // namespace velmora::settings::qt
