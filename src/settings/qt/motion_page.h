// Page "動作": the move and seek amounts, where a new picture is placed, and the seek order.
#pragma once

#include "settings/app_settings.h"
#include "settings/qt/radio_group.h"
#include "settings/qt/settings_page.h"

#include <memory>

namespace velmora::settings::qt {

class AmountSpinBox;

class MotionPage : public SettingsPage {
    Q_OBJECT
  public:
    MotionPage(AppSettings& settings, QWidget* parent);
    ~MotionPage() override;

    // Amounts that are not whole numbers from 1 to 999 leave their setting unchanged.
    void apply() override;

  private:
    AppSettings& settings_;
    AmountSpinBox* xMove_;
    AmountSpinBox* yMove_;
    AmountSpinBox* xSeek_;
    AmountSpinBox* ySeek_;
    std::unique_ptr<RadioGroup> origin_;
    std::unique_ptr<RadioGroup> seekOrder_;
};

} // namespace velmora::settings::qt
