// One page of the settings sheet. A page fills its controls from the settings when it is
// created (the first time its tab is visited) and copies them back when the sheet is closed
// with OK.
#pragma once

#include <QWidget>

namespace velmora::settings::qt {

class SettingsPage : public QWidget {
  public:
    using QWidget::QWidget;

    virtual void apply() = 0;
};

} // namespace velmora::settings::qt
