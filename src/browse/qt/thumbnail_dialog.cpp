#include "browse/qt/thumbnail_dialog.h"

#include "codecs/load_image.h"
#include "image/qt/dib_painter.h"
#include "platform/screen.h"
#include "ui/message_box.h"
#include "ui/qt/dialog_buttons.h"
#include "ui/qt/owner_sized_dialog.h"
#include "ui/string_table.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace velmora::browse::qt {
namespace {

constexpr int kStartDelayMs = 100;
constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kGrey = 0x00808080;
constexpr uint32_t kRed = 0x000000FF;

// Text in a colour over what is drawn, in the size made for the screen or the one given.
image::TextStyle transparentText(uint32_t color, int32_t height) {
    image::TextStyle style;
    style.font.height = height;
    style.textColor = color;
    style.opaque = false;
    return style;
}

constexpr int kBrokenMarkSide = 36;
constexpr int kSelectionPen = 3;
// On a desktop: room for a few rows and columns of thumbnails.
constexpr QSize kDesktopSize(470, 460);

// A broken-picture mark in the middle of a black box: a torn frame, so that a picture that
// cannot be read is not taken for a black one.
void drawBrokenMark(image::DibImage& cell) {
    QImage view = image::viewOf(cell);
    QPainter painter(&view);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame((kThumbnailWidth - kBrokenMarkSide) / 2.0,
                       (kThumbnailHeight - kBrokenMarkSide) / 2.0, kBrokenMarkSide,
                       kBrokenMarkSide);
    painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 2));
    painter.drawRect(frame);
    painter.setPen(QPen(QColor(0xE0, 0x40, 0x40), 3));
    painter.drawLine(frame.topLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomLeft());
}

// The thumbnail of one picture with its caption: the picture fitted into 100 x 120, or a black
// box with the broken-picture mark when it cannot be decoded. False when not even the box can be
// made.
bool makeThumbnail(image::DibImage& cell, const std::u16string& path, bool showAlpha) {
    // A picture that cannot be read is marked in its cell; a message per cell would be noise.
    if (!codecs::loadImageFitted(cell, path, kThumbnailWidth, kThumbnailHeight, showAlpha)) {
        if (!cell.create(kThumbnailWidth, kThumbnailHeight)) {
            return false;
        }
        drawBrokenMark(cell);
    }
    // The caption keeps the handheld's cut; a name still wider than the cell (a large font at a
    // high DPI, wide characters) ends in "…" rather than being cut mid-glyph. The cell has pixels.
    (void)image::drawText(
        cell, transparentText(kRed, image::fontHeightForDpi(platform::screenDpiY())),
        {0, 0, kThumbnailWidth, kThumbnailHeight}, thumbnailCaption(path),
        image::kTextLeft | image::kTextBottom | image::kTextSingleLine | image::kTextEndEllipsis);
    return true;
}

} // namespace

ThumbnailDialog::ThumbnailDialog(QWidget* owner, FolderList paths, bool useCache, bool showAlpha)
    : QDialog(owner), cacheUse_(useCache), showAlpha_(showAlpha), paths_(std::move(paths)),
      canvasWidget_(new QWidget(this)), scrollBar_(new QScrollBar(Qt::Vertical, this)) {
    setObjectName(QStringLiteral("thumbnailDialog"));
    setWindowTitle(QStringLiteral("サムネイル"));

    auto* buttons = new QHBoxLayout;
    QPushButton* ok = ui::addDialogButton(*buttons, QStringLiteral("OK"), "okButton", 70);
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
    ui::placeOverOwner(*this, kDesktopSize);

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
    case QEvent::Paint:
        paintCanvas();
        return true;
    case QEvent::Resize:
        resizeCanvas();
        return false;
    case QEvent::MouseButtonPress: {
        // Only the stylus (the left button) chooses; a right click is no tap.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            tapAt((mouse->position() * ratio()).toPoint());
        }
        return true;
    }
    case QEvent::Wheel: {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0) {
            turnTo(page_ + (delta > 0 ? -1 : 1));
        }
        return true;
    }
    case QEvent::KeyPress:
        return handleKey(static_cast<QKeyEvent*>(event)->key());
    default:
        return false;
    }
}

qreal ThumbnailDialog::ratio() const {
    return canvasWidget_->devicePixelRatioF();
}

QRect ThumbnailDialog::logicalRect(const CellRect& cell) const {
    const qreal r = ratio();
    return QRectF(cell.x / r, cell.y / r, cell.width / r, cell.height / r).toAlignedRect();
}

void ThumbnailDialog::paintCanvas() {
    QPainter painter(canvasWidget_);
    QImage view = image::viewOf(canvas_);
    // The canvas holds device pixels: drawn one to one.
    view.setDevicePixelRatio(ratio());
    painter.drawImage(0, 0, view);
    const size_t cellCount = grid_.cells.size();
    if (selected_ < 0 || cellCount == 0 ||
        static_cast<size_t>(selected_) / cellCount != static_cast<size_t>(page_)) {
        return;
    }
    const CellRect& cell = grid_.cells[static_cast<size_t>(selected_) % cellCount];
    painter.setPen(QPen(palette().color(QPalette::Highlight), kSelectionPen));
    painter.drawRect(logicalRect(cell).adjusted(-2, -2, 1, 1));
}

// Up and down turn the pages on the handheld. On a desktop the arrows move the selection, and
// Enter chooses it.
bool ThumbnailDialog::handleKey(int key) {
    const bool desktop = !platform::screenMetrics().handheld;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (desktop) {
            moveSelection(key == Qt::Key_Up ? -grid_.columns : grid_.columns);
        } else {
            turnTo(page_ + (key == Qt::Key_Up ? -1 : 1));
        }
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (desktop) {
            moveSelection(key == Qt::Key_Left ? -1 : 1);
        }
        return desktop;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (desktop && selected_ >= 0) {
            chosen_ = paths_[static_cast<size_t>(selected_)];
            done(1);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void ThumbnailDialog::moveSelection(int step) {
    const int count = static_cast<int>(paths_.size());
    const int cells = static_cast<int>(grid_.cells.size());
    if (count == 0 || cells == 0 || !started_) {
        return;
    }
    // The first key selects the first thumbnail of the page shown.
    const int target = selected_ < 0 ? std::min(page_ * cells, count - 1) : selected_ + step;
    if (target < 0 || target >= count) {
        return;
    }
    selected_ = target;
    if (selected_ / cells != page_) {
        turnTo(selected_ / cells);
    }
    canvasWidget_->update();
}

void ThumbnailDialog::resizeCanvas() {
    const int width = qRound(canvasWidget_->width() * ratio());
    const int height = qRound(canvasWidget_->height() * ratio());
    if (width < 1 || height < 1 || (width == canvas_.width() && height == canvas_.height())) {
        return;
    }
    if (!canvas_.create(width, height)) {
        ui::showError(ui::str::kImageCreateFailed);
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
        (void)image::drawText(
            canvas_, transparentText(kGrey, (platform::screenDpiY() + 3) * 16 / 96),
            {0, 0, canvas_.width(), canvas_.height()}, QStringLiteral("画像はありません"),
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
    if (makeThumbnail(thumbnail, paths_[item], showAlpha_)) {
        canvas_.copyFrom(cell.x, cell.y, thumbnail);
        canvasWidget_->update(logicalRect(cell));
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
