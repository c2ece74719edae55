#include "edit/qt/dialog_frame.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>

namespace velmora::edit::qt {

DialogButtons frameEditDialog(QDialog& dialog, const QString& title, const char* objectName) {
    dialog.setObjectName(QLatin1String(objectName));
    dialog.setWindowTitle(title);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), &dialog);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

    if (const QWidget* owner = dialog.parentWidget()) {
        dialog.setGeometry(owner->window()->geometry());
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        dialog.setGeometry(screen->availableGeometry());
    }
    return {ok, cancel};
}

void addButtonRow(QBoxLayout& layout, const DialogButtons& buttons) {
    auto* row = new QHBoxLayout;
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    row->addStretch(1);
    layout.addLayout(row);
}

} // namespace velmora::edit::qt
