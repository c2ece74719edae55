// Builds QMenus from the menu data; every command action is named "action<id>" and reports its
// identifier through the given callback.
#pragma once

#include "app/menu_resources.h"

#include <QMenu>

#include <functional>
#include <vector>

namespace velmora::app {

using CommandSink = std::function<void(ui::Command)>;

void fillMenu(QMenu& menu, const std::vector<MenuItem>& items, const CommandSink& onCommand);

// The command action with the given identifier anywhere below menu, or nullptr.
QAction* findCommandAction(const QMenu& menu, ui::Command command);

// Menu texts are shown with '&' as mnemonic marker; this keeps a literal text (a path) literal.
QString escapeMnemonics(QString text);

} // namespace velmora::app
