#include "browse/qt/open_dialog.h"

#include "browse/open_listing.h"
#include "browse/qt/browse_icons.h"
#include "browse/qt/open_list_model.h"
#include "browse/qt/thumbnail_dialog.h"
#include "platform/device_fs.h"
#include "platform/screen.h"
#include "ui/qt/dialog_buttons.h"
#include "ui/qt/owner_sized_dialog.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QTreeView>
#include <QVBoxLayout>

namespace velmora::browse::qt {
namespace {

constexpr int kButtonWidth = 70;
constexpr int kNameColumnWidth = 150;
constexpr int kSizeColumnWidth = 60; // "99999KB" in the 10-point font
constexpr int kThumbnailsResult = 1061;
// On a desktop: room for a folder's list.
constexpr QSize kDesktopSize(420, 380);

class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

OpenDialog::OpenDialog(QWidget* owner, const settings::AppSettings& settings,
                       std::u16string_view shownPicture)
    : QDialog(owner), settings_(settings), model_(new OpenListModel(this, settings.dialogMemory)),
      list_(new QTreeView(this)) {
    setObjectName(QStringLiteral("openDialog"));
    setWindowTitle(QStringLiteral("開く"));

    QHBoxLayout* buttons = ui::addOkCancelRow(*this, kButtonWidth);
    buttons->addSpacing(5);
    QPushButton* thumbnails = ui::addDialogButton(*buttons, QStringLiteral("サムネイル"),
                                                  "thumbnailButton", kButtonWidth);
    buttons->addStretch(1);
    connect(thumbnails, &QPushButton::clicked, this, &OpenDialog::showThumbnails);

    list_->setObjectName(QStringLiteral("fileList"));
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setIconSize(QSize(kSmallIconSide, kSmallIconSide));
    list_->header()->setSectionsClickable(false);
    list_->header()->setStretchLastSection(false);
    list_->setColumnWidth(0, kNameColumnWidth);
    list_->setColumnWidth(1, kSizeColumnWidth);
    // A desktop's dialog is wider than the handheld's screen: the names take the width left.
    if (!platform::screenMetrics().handheld) {
        list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    QFont font = list_->font();
    font.setPointSize(10);
    list_->setFont(font);
    // A single tap acts at once. A desktop double click counts as one tap: its second click would
    // otherwise act on whatever row the first one's refill put under the pointer.
    list_->viewport()->installEventFilter(this);
    connect(list_, &QTreeView::clicked, this, &OpenDialog::onRowTapped);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addLayout(buttons);
    layout->addWidget(list_, 1);
    ui::placeOverOwner(*this, kDesktopSize);

    // A remembered folder that has gone is forgotten: the dialog starts at the root.
    settings::lastBrowseDir() = startingFolder(settings::lastBrowseDir());
    currentFolder_ = settings::lastBrowseDir();
    if (settings.dialogMemory) {
        if (auto shownFolder = folderOfPicture(shownPicture)) {
            currentFolder_ = std::move(*shownFolder);
        }
    }
    fill();
}

std::optional<PictureChoice> OpenDialog::run() {
    choice_.reset();
    exec();
    return choice_;
}

void OpenDialog::fill() {
    const WaitCursor wait;
    model_->setEntries(listOpenFolder(currentFolder_, settings_));
}

void OpenDialog::accept() {
    const QModelIndexList selected = list_->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        done(1);
        return;
    }
    const std::u16string name = model_->entries()[static_cast<size_t>(selected.front().row())].name;
    if (name == kParentEntryName) {
        currentFolder_ = parentFolder(currentFolder_);
        fill();
        return;
    }
    const std::u16string path = devicePathIn(currentFolder_, name);
    if (platform::isDirectory(path)) {
        currentFolder_ += name;
        currentFolder_ += u'\\';
        fill();
        return;
    }
    choice_ = choosePicture(listedPicturePaths(currentFolder_, model_->entries(), settings_), path);
    settings::lastBrowseDir() = currentFolder_;
    done(1);
}

bool OpenDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            secondClickOfDoubleClick_ = false;
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            secondClickOfDoubleClick_ = true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void OpenDialog::onRowTapped() {
    if (secondClickOfDoubleClick_) {
        secondClickOfDoubleClick_ = false;
        return;
    }
    accept();
}

void OpenDialog::showThumbnails() {
    FolderList paths = listedPicturePaths(currentFolder_, model_->entries(), settings_);
    ThumbnailDialog view(this, paths, settings_.thumbCache, settings_.showAlpha);
    if (const auto chosen = view.run()) {
        choice_ = choosePicture(std::move(paths), *chosen);
        done(kThumbnailsResult);
    }
}

} // namespace velmora::browse::qt
