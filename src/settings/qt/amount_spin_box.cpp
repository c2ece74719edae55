#include "settings/qt/amount_spin_box.h"

#include "settings/sheet_values.h"

#include <QLineEdit>

namespace velmora::settings::qt {

AmountSpinBox::AmountSpinBox(int32_t value, int editId, int spinId, QWidget* parent)
    : QAbstractSpinBox(parent), position_(value) {
    setObjectName(QStringLiteral("spin%1").arg(spinId));
    lineEdit()->setObjectName(QStringLiteral("edit%1").arg(editId));
    lineEdit()->setText(QString::number(value));
    setWrapping(true);
    setAccelerated(true);
}

std::optional<int32_t> AmountSpinBox::amount() const {
    return parseAmount(text().toStdU16String());
}

void AmountSpinBox::stepBy(int steps) {
    // Like the handheld's up-down control: it counts from the edit's number when that is one,
    // else from where it last stood.
    position_ = stepAmount(amount().value_or(position_), steps);
    lineEdit()->setText(QString::number(position_));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled AmountSpinBox::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

} // namespace velmora::settings::qt
