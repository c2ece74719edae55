#include "app/popup_menu.h"

namespace velmora::app {

QMenu* createPopupMenu(QWidget& owner, const PopupMenuState& state, const CommandSink& onCommand) {
    auto* menu = new QMenu(&owner);
    menu->setObjectName(QStringLiteral("popupMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    fillMenu(*menu, popupMenuItems(), onCommand);

    findCommandAction(*menu, Command::First)->setEnabled(state.nav.first);
    findCommandAction(*menu, Command::Previous)->setEnabled(state.nav.previous);
    findCommandAction(*menu, Command::Next)->setEnabled(state.nav.next);
    findCommandAction(*menu, Command::Last)->setEnabled(state.nav.last);

    QAction* fullScreen = findCommandAction(*menu, Command::ToggleFullScreen);
    fullScreen->setCheckable(true);
    fullScreen->setChecked(state.fullScreen);

    findCommandAction(*menu, Command::FileInfo)->setText(escapeMnemonics(state.aboutText));
    return menu;
}

} // namespace velmora::app
