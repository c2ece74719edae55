// The value dialog of brightness, contrast and threshold (title 値の入力): a prompt, a slider
// ("slider1048") over the operation's range and a description. The slider's value is read only
// when OK is pressed; nothing is previewed while it moves.
#pragma once

#include <QDialog>

#include <optional>

class QSlider;

namespace velmora::edit::qt {

struct ValueRequest {
    QString prompt;
    QString description;
    int minimum = 1;
    int maximum = 254;
    int initial = 128;
};

class ValueDialog : public QDialog {
    Q_OBJECT
  public:
    ValueDialog(const ValueRequest& request, QWidget* parent);
    // The slider's position when OK was pressed.
    int value() const { return value_; }

  private:
    QSlider* slider_;
    int value_;
};

// The chosen value, or nothing when the dialog was cancelled.
std::optional<int> askValue(const ValueRequest& request, QWidget* parent);

} // namespace velmora::edit::qt
