#include "edit/qt/dialog_frame.h"

#include "ui/qt/owner_sized_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace velmora::edit::qt {

DialogButtons frameEditDialog(QDialog& dialog, const QString& title, const char* objectName,
                              QSize desktopSize) {
    dialog.setObjectName(QLatin1String(objectName));
    dialog.setWindowTitle(title);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), &dialog);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

    ui::placeOverOwner(dialog, desktopSize);
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
