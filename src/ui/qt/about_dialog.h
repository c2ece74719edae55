// The About dialog (command 40003): application icon, product line, version and maker.
#pragma once

#include <QDialog>

namespace velmora::ui {

// "Version " and the program's version number (the build's project version).
inline constexpr char kVersionText[] = "Version " VELMORA_VERSION;

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent);
};

// Runs the dialog modally over the parent's window; returns its result (1 after OK).
int showAboutDialog(QWidget* parent);

} // namespace velmora::ui
