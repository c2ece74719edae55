// An amount edit with its up-down control (1..999, wrapping at the ends). The edit takes any
// text: what was typed is judged only when the sheet is closed with OK, so a bad entry leaves
// the setting as it was instead of being corrected behind the user's back.
#pragma once

#include <QAbstractSpinBox>

#include <cstdint>
#include <optional>

namespace velmora::settings::qt {

class AmountSpinBox : public QAbstractSpinBox {
    Q_OBJECT
  public:
    // editId and spinId name the edit and the up-down control ("edit1001", "spin1018").
    AmountSpinBox(int32_t value, int editId, int spinId, QWidget* parent);

    // The typed amount; nullopt when the text is not a whole number from 1 to 999.
    std::optional<int32_t> amount() const;

    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override;

  private:
    int32_t position_;
};

} // namespace velmora::settings::qt
