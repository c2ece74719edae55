#include "edit/qt/resize_dialog.h"

#include "edit/qt/dialog_frame.h"
#include "edit/transform.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::edit::qt {
namespace {

constexpr int32_t kMaxSide = 5000;

QLineEdit* numberField(int controlId, int32_t value, QWidget* parent) {
    auto* field = new QLineEdit(QString::number(value), parent);
    field->setObjectName(QStringLiteral("edit%1").arg(controlId));
    field->setAlignment(Qt::AlignRight);
    field->setInputMethodHints(Qt::ImhPreferNumbers);
    return field;
}

std::optional<int32_t> readNumber(const QLineEdit& field) {
    bool ok = false;
    const int value = field.text().trimmed().toInt(&ok);
    return ok ? std::optional<int32_t>(value) : std::nullopt;
}

bool isSide(const std::optional<int32_t>& value) {
    return value && *value >= 1 && *value <= kMaxSide;
}

void addSizeRow(QGridLayout& grid, int row, QLineEdit* width, QLineEdit* height, QWidget* parent) {
    grid.addWidget(width, row, 0);
    grid.addWidget(new QLabel(QStringLiteral("X"), parent), row, 1, Qt::AlignCenter);
    grid.addWidget(height, row, 2);
}

} // namespace

ResizeDialog::ResizeDialog(int32_t width, int32_t height, QWidget* parent)
    : QDialog(parent), width_(width), height_(height), newWidth_(numberField(1001, width, this)),
      newHeight_(numberField(1002, height, this)),
      keepRatio_(new QCheckBox(QStringLiteral("比率を保つ"), this)) {
    const DialogButtons buttons =
        frameEditDialog(*this, QStringLiteral("サイズの変更"), "resizeDialog");
    connect(buttons.ok, &QPushButton::clicked, this, &ResizeDialog::confirm);

    auto* currentWidth = numberField(1003, width, this);
    auto* currentHeight = numberField(1004, height, this);
    currentWidth->setReadOnly(true);
    currentHeight->setReadOnly(true);
    keepRatio_->setObjectName(QStringLiteral("check1030"));
    keepRatio_->setChecked(true);
    newHeight_->setReadOnly(true);
    connect(newWidth_, &QLineEdit::textChanged, this, &ResizeDialog::followWidth);
    connect(keepRatio_, &QCheckBox::clicked, this, &ResizeDialog::keepRatioClicked);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("現在のサイズ"), this), 0, 0, 1, 3);
    addSizeRow(*grid, 1, currentWidth, currentHeight, this);
    grid->addWidget(new QLabel(QStringLiteral("変更後のサイズ"), this), 2, 0, 1, 3);
    addSizeRow(*grid, 3, newWidth_, newHeight_, this);
    grid->addWidget(keepRatio_, 4, 0, 1, 3);

    auto* layout = new QVBoxLayout(this);
    addButtonRow(*layout, buttons);
    layout->addLayout(grid);
    layout->addStretch(1);
}

void ResizeDialog::followWidth() {
    if (!keepRatio_->isChecked()) {
        return;
    }
    if (const auto width = readNumber(*newWidth_)) {
        newHeight_->setText(QString::number(keepRatioHeight(*width, width_, height_)));
    }
}

void ResizeDialog::keepRatioClicked() {
    if (keepRatio_->isChecked()) {
        const int32_t width = readNumber(*newWidth_).value_or(0);
        newHeight_->setText(QString::number(keepRatioHeight(width, width_, height_)));
    }
    newHeight_->setReadOnly(keepRatio_->isChecked());
}

void ResizeDialog::confirm() {
    const auto width = readNumber(*newWidth_);
    if (isSide(width) && keepRatio_->isChecked()) {
        newSize_ = {*width, keepRatioHeight(*width, width_, height_)};
        accept();
        return;
    }
    const auto height = readNumber(*newHeight_);
    if (isSide(width) && isSide(height)) {
        newSize_ = {*width, *height};
        accept();
        return;
    }
    ui::showError(ui::str::kInvalidNumber);
}

std::optional<NewSize> askNewSize(int32_t width, int32_t height, QWidget* parent) {
    ResizeDialog dialog(width, height, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.newSize();
}

} // namespace velmora::edit::qt
