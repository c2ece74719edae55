#include "app/bar_button.h"

#include "ui/qt/svg_icon.h"

#include <QIcon>
#include <QLayout>

namespace velmora::app {

QAction* addBarButton(QToolBar& bar, const BarButton& button, const CommandSink& onCommand) {
    const QIcon icon = ui::svgIcon(QStringLiteral(":/velmora/") + QString::fromLatin1(button.icon));
    QAction* action = bar.addAction(icon, QString::fromUtf16(button.tooltip));
    action->setToolTip(QString::fromUtf16(button.tooltip));
    const int number = static_cast<int>(button.command);
    action->setObjectName(QStringLiteral("action%1").arg(number));
    QWidget* widget = bar.widgetForAction(action);
    widget->setObjectName(QStringLiteral("button%1").arg(number));
    // Keys belong to the picture: a bar button never takes the keyboard focus.
    widget->setFocusPolicy(Qt::NoFocus);
    QObject::connect(action, &QAction::triggered, &bar,
                     [onCommand, command = button.command] { onCommand(command); });
    return action;
}

void setUpFixedBar(QToolBar& bar, const char* objectName) {
    bar.setObjectName(QString::fromLatin1(objectName));
    bar.setMovable(false);
    bar.setFloatable(false);
    bar.setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Sizes in Qt's window coordinates, which Qt scales by the screen's DPI.
    bar.setIconSize(QSize(kBarIconSide, kBarIconSide));
    bar.setContentsMargins(0, 0, 0, 0);
    bar.layout()->setSpacing(0);
    // Tight buttons: the bars must hold all their buttons on a 240-pixel-wide screen.
    bar.setStyleSheet(QStringLiteral("QToolBar { padding: 0px; spacing: 0px; }"
                                     "QToolButton { padding: 1px; margin: 0px; border: none; }"
                                     "QToolButton:hover { background: palette(midlight); }"
                                     "QToolButton:pressed { background: palette(mid); }"));
}

} // namespace velmora::app
