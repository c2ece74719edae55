#include "browse/qt/dialog_buttons.h"

namespace velmora::browse::qt {

QPushButton* addDialogButton(QHBoxLayout& row, const QString& text, const char* objectName,
                             int width) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(objectName));
    button->setFixedWidth(width);
    row.addWidget(button);
    return button;
}

QHBoxLayout* addOkCancelRow(QDialog& dialog, int buttonWidth) {
    auto* row = new QHBoxLayout;
    QPushButton* ok = addDialogButton(*row, QStringLiteral("OK"), "okButton", buttonWidth);
    QPushButton* cancel =
        addDialogButton(*row, QStringLiteral("キャンセル"), "cancelButton", buttonWidth);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return row;
}

} // namespace velmora::browse::qt
