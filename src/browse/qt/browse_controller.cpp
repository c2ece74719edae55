#include "browse/qt/browse_controller.h"

#include "browse/qt/open_dialog.h"

namespace velmora::browse::qt {

BrowseController::BrowseController(BrowseHost& host, Navigator& navigator,
                                   const settings::AppSettings& settings)
    : host_(host), navigator_(navigator), settings_(settings) {}

bool BrowseController::onCommand(ui::Command id) {
    if (id != ui::Command::Open) {
        return false;
    }
    open();
    return true;
}

void BrowseController::open() {
    host_.leaveFullScreenForDialog();
    std::optional<PictureChoice> choice;
    {
        OpenDialog dialog(host_.dialogOwner(), settings_, navigator_.currentPath());
        choice = dialog.run();
    }
    if (choice) {
        showChoice(*choice);
    }
}

void BrowseController::showChoice(const PictureChoice& choice) {
    navigator_.showList(choice.list, choice.currentIndex);
}

} // namespace velmora::browse::qt
