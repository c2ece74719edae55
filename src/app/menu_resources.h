// The menus of the program as data: the three pop-ups of the menu bar and the pop-up menu of the
// Enter key and the double tap. Texts keep their '&' mnemonics.
#pragma once

#include "ui/command.h"

#include <QString>

#include <vector>

namespace velmora::app {

using ui::Command;

struct MenuItem {
    enum class Kind { Command, SubMenu, Separator };
    Kind kind = Kind::Command;
    QString text;
    ui::Command command{}; // Kind::Command
    QString objectName;    // Kind::SubMenu: the built menu's objectName
    std::vector<MenuItem> children;
    bool checked = false; // resource state, never changed at run time
    bool greyed = false;
};

const std::vector<MenuItem>& fileMenuItems();
const std::vector<MenuItem>& editMenuItems();
const std::vector<MenuItem>& helpMenuItems();
// The pop-up menu ("メニュー").
const std::vector<MenuItem>& popupMenuItems();

// Text of the unused recent-file slots.
inline const QString kNoRecentFile = QStringLiteral("none");

} // namespace velmora::app
