#include "app/menu_builder.h"

namespace velmora::app {

void fillMenu(QMenu& menu, const std::vector<MenuItem>& items, const CommandSink& onCommand) {
    for (const MenuItem& item : items) {
        switch (item.kind) {
        case MenuItem::Kind::Separator:
            menu.addSeparator();
            break;
        case MenuItem::Kind::SubMenu: {
            QMenu* sub = menu.addMenu(item.text);
            sub->setObjectName(item.objectName);
            fillMenu(*sub, item.children, onCommand);
            break;
        }
        case MenuItem::Kind::Command: {
            QAction* action = menu.addAction(item.text);
            action->setObjectName(QStringLiteral("action%1").arg(static_cast<int>(item.command)));
            action->setCheckable(item.checked);
            action->setChecked(item.checked);
            action->setEnabled(!item.greyed);
            const ui::Command id = item.command;
            QObject::connect(action, &QAction::triggered, &menu,
                             [onCommand, id] { onCommand(id); });
            break;
        }
        }
    }
}

QAction* findCommandAction(const QMenu& menu, ui::Command command) {
    return menu.findChild<QAction*>(QStringLiteral("action%1").arg(static_cast<int>(command)));
}

QString escapeMnemonics(QString text) {
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace velmora::app
