#include "platform/qt/network_dialogs.h"

#include "platform/network_connections.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::platform::qt {
namespace {

// A dialog no wider or taller than its owner's window: a long path must not push it off a
// handheld's screen.
void fitOwner(QDialog& dialog) {
    if (const QWidget* owner = dialog.parentWidget()) {
        dialog.setMaximumSize(owner->window()->size());
    }
}

QDialogButtonBox* okCancelButtons(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

// The host folder field with its browse button; the field starts with the folder connected
// under the same name, if any.
QLineEdit* folderField(QDialog& dialog, QVBoxLayout& layout, std::u16string_view localName) {
    auto* field = new QLineEdit(&dialog);
    field->setObjectName(QStringLiteral("remoteFolder"));
    for (const auto& connection : networkConnections()) {
        if (connection.localName == localName) {
            field->setText(QString::fromStdString(connection.hostFolder.string()));
        }
    }
    auto* browse = new QPushButton(QStringLiteral("参照..."), &dialog);
    browse->setObjectName(QStringLiteral("browseButton"));
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, field] {
        const QString chosen = QFileDialog::getExistingDirectory(
            &dialog, QStringLiteral("フォルダの選択"), field->text(),
            QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        if (!chosen.isEmpty()) {
            field->setText(chosen);
        }
    });
    auto* row = new QHBoxLayout;
    row->addWidget(field, 1);
    row->addWidget(browse);
    layout.addWidget(new QLabel(QStringLiteral("フォルダ:"), &dialog));
    layout.addLayout(row);
    return field;
}

} // namespace

int connectionDialog(const ConnectDialogRequest& request) {
    if (request.structSize != kConnectDialogStructSize || request.resource == nullptr ||
        request.resource->localName.empty() || request.resource->type != kResourceTypeDisk) {
        return kErrorInvalidParameter;
    }
    const std::u16string& localName = request.resource->localName;
    QDialog dialog(request.owner);
    dialog.setObjectName(QStringLiteral("networkConnectDialog"));
    dialog.setWindowTitle(QStringLiteral("ネットワーク接続"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(
        QStringLiteral("接続名: %1").arg(QString::fromStdU16String(localName)), &dialog));
    QLineEdit* field = folderField(dialog, *layout, localName);
    layout->addWidget(okCancelButtons(dialog));
    fitOwner(dialog);
    if (dialog.exec() != QDialog::Accepted) {
        return kNetDialogCancelled;
    }
    const QFileInfo folder(field->text().trimmed());
    if (field->text().trimmed().isEmpty() || !folder.isDir()) {
        return kErrorBadNetName;
    }
    const NetworkMapping connection{localName, folder.absoluteFilePath().toStdString()};
    return addNetworkConnection(connection) ? 0 : kErrorBadDevice;
}

int disconnectionDialog(QWidget* owner, uint32_t type) {
    if (type != kResourceTypeAny && type != kResourceTypeDisk) {
        return kErrorInvalidParameter;
    }
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("networkDisconnectDialog"));
    dialog.setWindowTitle(QStringLiteral("ネットワーク切断"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("切断する接続:"), &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("connectionList"));
    list->setTextElideMode(Qt::ElideMiddle);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const auto& connection : networkConnections()) {
        auto* item =
            new QListWidgetItem(QStringLiteral("%1  (%2)")
                                    .arg(QString::fromStdU16String(connection.localName),
                                         QString::fromStdString(connection.hostFolder.string())),
                                list);
        item->setData(Qt::UserRole, QString::fromStdU16String(connection.localName));
    }
    layout->addWidget(list, 1);
    QDialogButtonBox* buttons = okCancelButtons(dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    QObject::connect(list, &QListWidget::itemSelectionChanged, ok,
                     [list, ok] { ok->setEnabled(list->currentItem() != nullptr); });
    layout->addWidget(buttons);
    fitOwner(dialog);
    if (dialog.exec() != QDialog::Accepted || list->currentItem() == nullptr) {
        return kNetDialogCancelled;
    }
    const QString name = list->currentItem()->data(Qt::UserRole).toString();
    return removeNetworkConnection(name.toStdU16String()) ? 0 : kErrorNotConnected;
}

} // namespace velmora::platform::qt
