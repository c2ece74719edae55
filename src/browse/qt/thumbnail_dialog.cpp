#include "browse/qt/thumbnail_dialog.h"

#include "browse/qt/dialog_buttons.h"
#include "codecs/load_image.h"
#include "image/qt/dib_painter.h"
#include "platform/screen.h"
#include "ui/qt/owner_sized_dialog.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora::browse::qt {
namespace {

constexpr int kStartDelayMs = 100;
constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kGrey = 0x00808080;
constexpr uint32_t kRed = 0x000000FF;
constexpr int kTransparent = 1;

// The thumbnail of one picture with its caption: the picture fitted into 100 x 120, or a black
// box when it cannot be decoded. False when not even the box can be made.
bool makeThumbnail(image::DibImage& cell, const std::u16string& path) {
    // A picture that cannot be read shows as a black box; a message per cell would be noise.
    cell.reportErrors = false;
    if (!codecs::loadImageFitted(cell, path, kThumbnailWidth, kThumbnailHeight) &&
        !cell.create(kThumbnailWidth, kThumbnailHeight)) {
        return false;
    }
    cell.setTextColor(kRed);
    cell.setBackMode(kTransparent);
    image::drawText(cell, 0, 0, kThumbnailWidth, kThumbnailHeight, thumbnailCaption(path),
                    image::kTextLeft | image::kTextBottom | image::kTextSingleLine);
    return true;
}

} // namespace

ThumbnailDialog::ThumbnailDialog(QWidget* owner, FolderList paths, bool useCache)
    : QDialog(owner), cacheUse_(useCache), paths_(std::move(paths)),
      canvasWidget_(new QWidget(this)), scrollBar_(new QScrollBar(Qt::Vertical, this)) {
    setObjectName(QStringLiteral("thumbnailDialog"));
    setWindowTitle(QStringLiteral("サムネイル"));

    auto* buttons = new QHBoxLayout;
    QPushButton* ok = addDialogButton(*buttons, QStringLiteral("OK"), "okButton", 70);
    buttons->addStretch(1);
    connect(ok, &QPushButton::clicked, this, [this] { done(1); });

    canvasWidget_->setObjectName(QStringLiteral("thumbnailCanvas"));
    canvasWidget_->setAttribute(Qt::WA_OpaquePaintEvent);
    canvasWidget_->installEventFilter(this);
    // The canvas takes the keys, so that up and down turn the pages.
    canvasWidget_->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(canvasWidget_);
    scrollBar_->setObjectName(QStringLiteral("pageScrollBar"));
    scrollBar_->setRange(0, 0);
    scrollBar_->setPageStep(1);
    connect(scrollBar_, &QScrollBar::valueChanged, this, &ThumbnailDialog::turnTo);

    auto* grid = new QHBoxLayout;
    grid->setSpacing(0);
    grid->addWidget(canvasWidget_, 1);
    grid->addWidget(scrollBar_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 5, 0, 0);
    layout->addLayout(buttons);
    layout->addLayout(grid, 1);
    ui::coverOwnerWindow(*this);

    startTimer_.setSingleShot(true);
    startTimer_.setInterval(kStartDelayMs);
    connect(&startTimer_, &QTimer::timeout, this, &ThumbnailDialog::start);
    cellTimer_.setSingleShot(true);
    cellTimer_.setInterval(0);
    connect(&cellTimer_, &QTimer::timeout, this, &ThumbnailDialog::drawNextCell);
}

std::optional<std::u16string> ThumbnailDialog::run() {
    startTimer_.start();
    exec();
    cellTimer_.stop();
    return chosen_;
}

void ThumbnailDialog::start() {
    started_ = true;
    canvasWidget_->setFocus();
    layOut();
    drawPage();
}

bool ThumbnailDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != canvasWidget_) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(canvasWidget_);
        painter.drawImage(0, 0, image::viewOf(canvas_));
        return true;
    }
    case QEvent::Resize:
        resizeCanvas();
        return false;
    case QEvent::MouseButtonPress:
        tapAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            turnTo(page_ + (key == Qt::Key_Up ? -1 : 1));
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

void ThumbnailDialog::resizeCanvas() {
    const int width = canvasWidget_->width();
    const int height = canvasWidget_->height();
    if (width < 1 || height < 1 || (width == canvas_.width() && height == canvas_.height()) ||
        !canvas_.create(width, height)) {
        return;
    }
    canvas_.fillColor(kWhite);
    layOut();
    // A new size (a rotated screen) shows page 0 again, filled anew.
    if (started_) {
        drawPage();
    }
}

void ThumbnailDialog::layOut() {
    grid_ = layoutThumbnailGrid(canvas_.width(), canvas_.height(), static_cast<int>(paths_.size()),
                                platform::screenDpiX(), platform::screenDpiY());
    page_ = 0;
    const QSignalBlocker quiet(scrollBar_);
    scrollBar_->setRange(0, std::max(grid_.lastPage, 0));
    scrollBar_->setValue(0);
}

void ThumbnailDialog::turnTo(int page) {
    const int clamped = std::clamp(page, 0, std::max(grid_.lastPage, 0));
    if (clamped == page_ || !started_) {
        return;
    }
    page_ = clamped;
    const QSignalBlocker quiet(scrollBar_);
    scrollBar_->setValue(page_);
    drawPage();
}

void ThumbnailDialog::drawPage() {
    cellTimer_.stop();
    if (!canvas_.hasPixels()) {
        return;
    }
    canvas_.fillBlack();
    canvas_.fillColor(kWhite);
    if (paths_.empty()) {
        canvas_.setTextColor(kGrey);
        canvas_.setBackMode(kTransparent);
        canvas_.setFontHeight((platform::screenDpiY() + 3) * 16 / 96);
        image::drawText(canvas_, 0, 0, canvas_.width(), canvas_.height(),
                        QStringLiteral("画像はありません"),
                        image::kTextCenter | image::kTextVCenter);
    }
    canvasWidget_->update();
    nextCell_ = 0;
    cellTimer_.start();
}

void ThumbnailDialog::drawNextCell() {
    const size_t cellCount = grid_.cells.size();
    const size_t item = static_cast<size_t>(nextCell_) + static_cast<size_t>(page_) * cellCount;
    if (static_cast<size_t>(nextCell_) >= cellCount || item >= paths_.size()) {
        return;
    }
    const CellRect& cell = grid_.cells[static_cast<size_t>(nextCell_)];
    image::DibImage thumbnail;
    if (makeThumbnail(thumbnail, paths_[item])) {
        canvas_.copyFrom(cell.x, cell.y, thumbnail);
        canvasWidget_->update(cell.x, cell.y, cell.width, cell.height);
    }
    ++nextCell_;
    cellTimer_.start();
}

void ThumbnailDialog::tapAt(const QPoint& point) {
    const int cell = cellAt(grid_.cells, point.x(), point.y());
    if (cell < 0) {
        return;
    }
    const size_t item = static_cast<size_t>(cell) + static_cast<size_t>(page_) * grid_.cells.size();
    if (item < paths_.size()) {
        chosen_ = paths_[item];
        done(1);
    }
}

} // namespace velmora::browse::qt
