#include "app/menu_placement.h"

#include "platform/qt/screen_service.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>

namespace velmora::app {

MenuPlacement::MenuPlacement(QWidget& screenWindow) : screenWindow_(screenWindow) {
    qApp->installEventFilter(this);
}

MenuPlacement::~MenuPlacement() {
    qApp->removeEventFilter(this);
}

bool MenuPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            const QRect screen(screenWindow_.mapToGlobal(QPoint(0, 0)), screenWindow_.size());
            menu->move(platform::qt::placedInside(menu->geometry(), screen));
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora::app
