// The pop-up menu of the Enter key and the double tap ("メニュー").
#pragma once

#include "app/menu_builder.h"
#include "app/nav_rules.h"

#include <QMenu>

namespace velmora::app {

struct PopupMenuState {
    QString aboutText; // replaces "情報(&I)" in the File sub-menu
    NavButtonStates nav;
    bool fullScreen = false;
};

// A new menu named "popupMenu", owned by owner and deleted when it closes.
QMenu* createPopupMenu(QWidget& owner, const PopupMenuState& state, const CommandSink& onCommand);

} // namespace velmora::app
