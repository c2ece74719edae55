#include "settings/qt/wrapping_check_box.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QStyle>

namespace velmora::settings::qt {

WrappingCheckBox::WrappingCheckBox(const QString& text, QWidget* parent)
    : QWidget(parent), box_(new QCheckBox(this)), text_(new QLabel(text, this)) {
    box_->setAccessibleName(text);
    text_->setWordWrap(true);
    text_->installEventFilter(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing));
    row->addWidget(box_, 0, Qt::AlignTop);
    row->addWidget(text_, 1);
}

bool WrappingCheckBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && box_->isEnabled()) {
        box_->click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace velmora::settings::qt
