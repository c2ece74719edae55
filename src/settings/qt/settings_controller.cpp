#include "settings/qt/settings_controller.h"

#include "codecs/corrections/picture_corrections.h"
#include "settings/command_ids.h"
#include "settings/qt/settings_sheet.h"

namespace velmora::settings::qt {

bool SettingsController::onCommand(int id) {
    if (id != kCmdSettings) {
        return false;
    }
    SettingsSheet sheet(host_, host_.dialogOwner());
    sheet.exec();
    // The readers turn and convert the pictures read from now on by the new choice.
    const AppSettings& settings = host_.appSettings();
    codecs::setPictureCorrections({settings.autoRotate, settings.colorManage});
    return true;
}

} // namespace velmora::settings::qt
