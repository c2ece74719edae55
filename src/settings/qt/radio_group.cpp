#include "settings/qt/radio_group.h"

#include <QBoxLayout>

namespace velmora::settings::qt {

RadioGroup::RadioGroup(const std::vector<RadioChoice>& choices, int32_t checkedIndex,
                       QWidget* parent, QBoxLayout& layout) {
    auto* group = new QButtonGroup(parent);
    for (const RadioChoice& choice : choices) {
        auto* radio = new QRadioButton(QString::fromUtf16(choice.text), parent);
        radio->setObjectName(QStringLiteral("radio%1").arg(choice.id));
        radio->setChecked(static_cast<int32_t>(radios_.size()) == checkedIndex);
        group->addButton(radio);
        layout.addWidget(radio);
        radios_.push_back(radio);
    }
}

std::optional<int32_t> RadioGroup::checkedIndex() const {
    for (size_t i = 0; i < radios_.size(); ++i) {
        if (radios_[i]->isChecked()) {
            return static_cast<int32_t>(i);
        }
    }
    return std::nullopt;
}

} // namespace velmora::settings::qt
