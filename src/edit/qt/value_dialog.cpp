#include "edit/qt/value_dialog.h"

#include "edit/qt/dialog_frame.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace velmora::edit::qt {
namespace {

QLabel* text(const QString& content, const char* objectName, QWidget* parent) {
    auto* label = new QLabel(content, parent);
    label->setObjectName(QLatin1String(objectName));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

ValueDialog::ValueDialog(const ValueRequest& request, QWidget* parent)
    : QDialog(parent), slider_(new QSlider(Qt::Horizontal, this)), value_(request.initial) {
    const DialogButtons buttons = frameEditDialog(*this, QStringLiteral("値の入力"), "valueDialog");
    connect(buttons.ok, &QPushButton::clicked, this, [this] {
        value_ = slider_->value();
        accept();
    });
    slider_->setObjectName(QStringLiteral("slider1048"));
    slider_->setRange(request.minimum, request.maximum);
    slider_->setValue(request.initial);

    // The end labels stay 0 and 100 whatever the range.
    auto* ends = new QHBoxLayout;
    ends->addWidget(new QLabel(QStringLiteral("0"), this));
    ends->addStretch(1);
    ends->addWidget(new QLabel(QStringLiteral("100"), this));

    auto* layout = new QVBoxLayout(this);
    addButtonRow(*layout, buttons);
    layout->addWidget(text(request.prompt, "text1050", this));
    layout->addWidget(slider_);
    layout->addLayout(ends);
    layout->addWidget(text(request.description, "text1052", this));
    layout->addStretch(1);
}

std::optional<int> askValue(const ValueRequest& request, QWidget* parent) {
    ValueDialog dialog(request, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.value();
}

} // namespace velmora::edit::qt
