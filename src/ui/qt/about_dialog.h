// The About dialog (command 40003): application icon, product line, version and maker.
#pragma once

#include <QDialog>

namespace velmora::ui {

inline constexpr char kVersionText[] = "Version 1.24";

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent);
};

// Runs the dialog modally over the parent's window; returns its result (1 after OK).
int showAboutDialog(QWidget* parent);

} // namespace velmora::ui
