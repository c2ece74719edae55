// The settings sheet "プロパティ": six pages with their tabs along the bottom edge, over the
// main window. A page is made the first time its tab is visited (the first one at once); OK
// applies the made pages in tab order, Cancel applies nothing. The settings change in memory
// only: the store writes them when the program ends.
#pragma once

#include "settings/qt/settings_host.h"

#include <QDialog>

#include <array>

class QTabWidget;

namespace velmora::settings::qt {

class SettingsPage;

class SettingsSheet : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kPageCount = 6;

    SettingsSheet(SettingsHost& host, QWidget* parent);

    // The page of tab index, or nullptr while that tab has not been visited.
    SettingsPage* page(int index) const {
        return index >= 0 && index < kPageCount ? pages_[static_cast<size_t>(index)] : nullptr;
    }

    void accept() override;

  private:
    void visit(int index);

    SettingsHost& host_;
    QTabWidget* tabs_;
    std::array<SettingsPage*, kPageCount> pages_{};
};

} // namespace velmora::settings::qt
