// A column or row of radio buttons named "radio<id>", one of which is checked from a setting.
#pragma once

#include <QButtonGroup>
#include <QRadioButton>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class QBoxLayout;

namespace velmora::settings::qt {

struct RadioChoice {
    int id;
    const char16_t* text;
};

class RadioGroup {
  public:
    // Adds one radio per choice to layout; the radio at position checkedIndex is checked.
    RadioGroup(const std::vector<RadioChoice>& choices, int32_t checkedIndex, QWidget* parent,
               QBoxLayout& layout);

    // Position of the first checked radio in choice order; nullopt when none is checked.
    std::optional<int32_t> checkedIndex() const;

  private:
    std::vector<QRadioButton*> radios_;
};

} // namespace velmora::settings::qt
