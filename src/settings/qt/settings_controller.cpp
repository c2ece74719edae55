#include "settings/qt/settings_controller.h"

#include "codecs/corrections/picture_corrections.h"
#include "settings/qt/settings_sheet.h"

namespace velmora::settings::qt {

bool SettingsController::onCommand(ui::Command id) {
    if (id != ui::Command::Settings) {
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
