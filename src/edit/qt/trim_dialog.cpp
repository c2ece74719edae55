#include "edit/qt/trim_dialog.h"

#include "edit/qt/dialog_frame.h"
#include "image/qt/dib_painter.h"
#include "platform/tick_count.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

namespace velmora::edit::qt {
namespace {

// Header and control places in 1/96 inch, which are Qt's interface units: Qt scales them by the
// screen's DPI as it scales the other dialogs' buttons.
constexpr int kHeaderHeight = 30;
// On a desktop: room for the picture reduced.
constexpr QSize kDesktopSize(560, 440);

} // namespace

// The preview works in device pixels: the picture is reduced to the pixels the screen has.
PreviewPoint TrimPreview::pointOf(const QMouseEvent& event) const {
    const QPoint p = (event.position() * devicePixelRatioF()).toPoint();
    return {p.x(), p.y()};
}

TrimPreview::TrimPreview(const image::DibImage& picture, TickSource ticks, QWidget* parent)
    : QWidget(parent), picture_(picture), ticks_(std::move(ticks)),
      selection_(picture.width(), picture.height()) {
    setObjectName(QStringLiteral("trimPreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrimPreview::resizeEvent(QResizeEvent*) {
    const int deviceWidth = qRound(width() * devicePixelRatioF());
    const int deviceHeight = qRound(height() * devicePixelRatioF());
    selection_.fitInto(deviceWidth, deviceHeight);
    if (deviceWidth > 0 && deviceHeight > 0 && buffer_.create(deviceWidth, deviceHeight)) {
        buffer_.stretchFrom({0, 0, selection_.previewWidth(), selection_.previewHeight()}, picture_,
                            {0, 0, picture_.width(), picture_.height()});
    }
    update();
}

void TrimPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QImage view = image::viewOf(buffer_);
    if (view.isNull()) {
        painter.fillRect(rect(), Qt::black);
    }
    // From here on one unit is one device pixel.
    const qreal ratio = devicePixelRatioF();
    painter.scale(1 / ratio, 1 / ratio);
    if (!view.isNull()) {
        painter.drawImage(0, 0, view);
    }
    painter.setPen(QPen(QColor(255, 0, 0), 2 * ratio));
    const PreviewPoint d = selection_.downPoint();
    const PreviewPoint c = selection_.currentPoint();
    const QPoint outline[] = {{d.x, d.y}, {d.x, c.y}, {c.x, c.y}, {c.x, d.y}, {d.x, d.y}};
    painter.drawPolyline(outline, 5);
}

void TrimPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && selection_.press(pointOf(*event), ticks_())) {
        update();
    }
}

void TrimPreview::mouseMoveEvent(QMouseEvent* event) {
    if (selection_.move(pointOf(*event), ticks_())) {
        update();
    }
}

void TrimPreview::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && selection_.release(pointOf(*event))) {
        update();
    }
}

TrimDialog::TrimDialog(const image::DibImage& picture, QWidget* parent, TickSource ticks)
    : QDialog(parent) {
    const DialogButtons buttons =
        frameEditDialog(*this, QStringLiteral("切り取り"), "trimDialog", kDesktopSize);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    // The header's controls are placed by resizeEvent.
    auto* caption = new QLabel(QStringLiteral("切取範囲の選択"), this);
    caption->setObjectName(QStringLiteral("text1051"));
    ok_ = buttons.ok;
    cancel_ = buttons.cancel;
    caption_ = caption;
    preview_ =
        new TrimPreview(picture, ticks ? std::move(ticks) : TickSource(platform::tickCount), this);
}

void TrimDialog::resizeEvent(QResizeEvent*) {
    ok_->setGeometry(5, 5, 60, 20);
    cancel_->setGeometry(70, 5, 60, 20);
    caption_->setGeometry(135, 5, 100, 20);
    preview_->setGeometry(0, kHeaderHeight, width(), std::max(0, height() - kHeaderHeight));
}

std::optional<TrimRect> askTrimRect(const image::DibImage& picture, QWidget* parent) {
    TrimDialog dialog(picture, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.rect();
}

} // namespace velmora::edit::qt
