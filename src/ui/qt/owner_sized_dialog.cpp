#include "ui/qt/owner_sized_dialog.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace velmora::ui {

void finishOwnerSizedDialog(QDialog& dialog, QBoxLayout& layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog] { dialog.done(1); });
    layout.addStretch(1);
    layout.addWidget(buttons);
    coverOwnerWindow(dialog);
}

void coverOwnerWindow(QDialog& dialog) {
    if (const QWidget* owner = dialog.parentWidget()) {
        dialog.setGeometry(owner->window()->geometry());
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        dialog.setGeometry(screen->availableGeometry());
    }
}

} // namespace velmora::ui
