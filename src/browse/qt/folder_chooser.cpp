#include "browse/qt/folder_chooser.h"

#include "browse/folder_tree.h"
#include "browse/qt/browse_icons.h"
#include "platform/host_names.h"
#include "ui/qt/dialog_buttons.h"
#include "ui/qt/owner_sized_dialog.h"

#include <QTreeWidget>
#include <QVBoxLayout>

#include <vector>

namespace velmora::browse::qt {
namespace {

// Each item remembers which icon it was given; only ordinary folders change icon when they open.
constexpr int kIconRole = Qt::UserRole;
// The folder's own device name, from which its path is built.
constexpr int kDeviceNameRole = Qt::UserRole + 1;

constexpr int kButtonWidth = 60;
// On a desktop: room for a few levels of folders.
constexpr QSize kDesktopSize(320, 380);

bool isOrdinaryFolder(const QTreeWidgetItem* item) {
    const int iconId = item->data(0, kIconRole).toInt();
    return iconId == kIconFolder || iconId == kIconOpenFolder;
}

void setIcon(QTreeWidgetItem* item, int iconId) {
    item->setData(0, kIconRole, iconId);
    item->setIcon(0, browseIcon(iconId));
}

} // namespace

FolderChoice chooseFolder(QWidget* owner) {
    FolderChooser chooser(owner);
    return chooser.run();
}

FolderChooser::FolderChooser(QWidget* owner) : QDialog(owner), tree_(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("folderChooser"));
    setWindowTitle(QStringLiteral("ディレクトリ選択"));

    QHBoxLayout* buttons = ui::addOkCancelRow(*this, kButtonWidth);
    buttons->addStretch(1);

    tree_->setObjectName(QStringLiteral("folderTree"));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setIconSize(QSize(kSmallIconSide, kSmallIconSide));
    QFont font = tree_->font();
    font.setPointSize(10);
    tree_->setFont(font);
    connect(tree_, &QTreeWidget::itemExpanded, this, &FolderChooser::onExpanded);
    connect(tree_, &QTreeWidget::itemCollapsed, this, &FolderChooser::onCollapsed);
    addItem(nullptr, std::u16string(kRootItemText), kIconDeviceRoot);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addLayout(buttons);
    layout->addWidget(tree_, 1);
    ui::placeOverOwner(*this, kDesktopSize);
}

FolderChoice FolderChooser::run() {
    exec();
    return choice_;
}

QTreeWidgetItem* FolderChooser::addItem(QTreeWidgetItem* parent, const std::u16string& name,
                                        int iconId) {
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
    // The shown text may mark undecodable bytes; the path is built from the name itself.
    item->setText(0, QString::fromStdU16String(platform::shownName(name)));
    item->setData(0, kDeviceNameRole, QString::fromStdU16String(name));
    setIcon(item, iconId);
    // Every folder offers to open until opening it finds nothing at all.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

std::u16string FolderChooser::pathOf(const QTreeWidgetItem* item) const {
    std::vector<std::u16string> texts;
    for (; item != nullptr; item = item->parent()) {
        texts.insert(texts.begin(), item->data(0, kDeviceNameRole).toString().toStdU16String());
    }
    return folderItemPath(texts);
}

void FolderChooser::onExpanded(QTreeWidgetItem* item) {
    if (isOrdinaryFolder(item)) {
        setIcon(item, kIconOpenFolder);
    }
    const SubfolderScan scan = readSubfolders(pathOf(item));
    if (scan.outcome == SubfolderScan::Outcome::Empty) {
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
    }
    for (const Subfolder& folder : scan.folders) {
        addItem(item, folder.name, folder.storageVolume ? kIconStorageCard : kIconFolder);
    }
}

void FolderChooser::onCollapsed(QTreeWidgetItem* item) {
    if (isOrdinaryFolder(item)) {
        setIcon(item, kIconFolder);
    }
    // The next expansion reads the folder again.
    qDeleteAll(item->takeChildren());
}

void FolderChooser::accept() {
    const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
    choice_ = {true, selected.isEmpty() ? std::u16string() : pathOf(selected.front())};
    done(1);
}

void FolderChooser::reject() {
    choice_ = {};
    done(2);
}

} // namespace velmora::browse::qt
