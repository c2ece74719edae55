// The resize dialog (サイズの変更): the current size read-only ("edit1003" x "edit1004"), the new
// size ("edit1001" x "edit1002") and the keep-ratio box ("check1030", 比率を保つ), checked at
// first. While the box is checked the new height follows the width (width * H / W) and cannot be
// typed. OK accepts widths and heights of 1..5000 (a followed height is taken as it is); anything
// else shows 無効な数値です and keeps the dialog open.
#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

class QCheckBox;
class QLineEdit;

namespace velmora::edit::qt {

struct NewSize {
    int32_t width;
    int32_t height;
};

class ResizeDialog : public QDialog {
    Q_OBJECT
  public:
    ResizeDialog(int32_t width, int32_t height, QWidget* parent);
    // Valid after the dialog was accepted.
    NewSize newSize() const { return newSize_; }

  private:
    void followWidth();
    void keepRatioClicked();
    void confirm();

    int32_t width_;
    int32_t height_;
    QLineEdit* newWidth_;
    QLineEdit* newHeight_;
    QCheckBox* keepRatio_;
    NewSize newSize_{0, 0};
};

// The accepted new size, or nothing when cancelled.
std::optional<NewSize> askNewSize(int32_t width, int32_t height, QWidget* parent);

} // namespace velmora::edit::qt
