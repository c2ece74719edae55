#include "app/popup_menu.h"

#include "app/command_ids.h"

namespace velmora::app {

QMenu* createPopupMenu(QWidget& owner, const PopupMenuState& state, const CommandSink& onCommand) {
    auto* menu = new QMenu(&owner);
    menu->setObjectName(QStringLiteral("popupMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    fillMenu(*menu, popupMenuItems(), onCommand);

    findCommandAction(*menu, kCmdFirst)->setEnabled(state.nav.first);
    findCommandAction(*menu, kCmdPrevious)->setEnabled(state.nav.previous);
    findCommandAction(*menu, kCmdNext)->setEnabled(state.nav.next);
    findCommandAction(*menu, kCmdLast)->setEnabled(state.nav.last);

    QAction* fullScreen = findCommandAction(*menu, kCmdToggleFullScreen);
    fullScreen->setCheckable(true);
    fullScreen->setChecked(state.fullScreen);

    findCommandAction(*menu, kCmdFileInfo)->setText(escapeMnemonics(state.aboutText));
    return menu;
}

} // namespace velmora::app
