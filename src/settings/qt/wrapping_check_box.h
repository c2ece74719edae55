// A check box whose text wraps onto more lines where the page is narrower than the text (a
// check box's own text never wraps). A tap on the text toggles the box, as on a plain check box.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QWidget>

namespace velmora::settings::qt {

class WrappingCheckBox : public QWidget {
    Q_OBJECT
  public:
    WrappingCheckBox(const QString& text, QWidget* parent);

    QCheckBox* box() const { return box_; }

  private:
    bool eventFilter(QObject* watched, QEvent* event) override;

    QCheckBox* box_;
    QLabel* text_;
};

} // namespace velmora::settings::qt
