// The pages that are lists of check boxes or of choices: "拡張子", "表示", "ダブルタップ" and
// "一般".
#pragma once

#include "settings/app_settings.h"
#include "settings/qt/radio_group.h"
#include "settings/qt/settings_page.h"

#include <QCheckBox>

#include <functional>
#include <memory>
#include <vector>

namespace velmora::settings::qt {

// One check box per on/off setting: checked when the setting is on, and on when checked.
class CheckListPage : public SettingsPage {
    Q_OBJECT
  public:
    struct Entry {
        int id;
        const char16_t* text;
        bool& (*field)(AppSettings&);
    };
    // dialogId names the page ("page125"); heading may be null.
    CheckListPage(AppSettings& settings, int dialogId, const char16_t* heading,
                  const std::vector<Entry>& entries, QWidget* parent);
    void apply() override;

  private:
    AppSettings& settings_;
    std::vector<std::pair<QCheckBox*, bool& (*)(AppSettings&)>> boxes_;
};

// Radios for the values 0, 1, 2, ... of one setting, in that order, and lines explaining them.
// OK stores the value of the first checked radio, 0 when none is.
class ChoicePage : public SettingsPage {
    Q_OBJECT
  public:
    // A mode of the settings, as the position of its radio.
    struct Field {
        int32_t checked;
        std::function<void(int32_t)> store;
    };
    template <class Mode> static Field field(AppSettings& settings, Mode AppSettings::*mode) {
        return {static_cast<int32_t>(settings.*mode),
                [&settings, mode](int32_t index) { settings.*mode = Mode(index); }};
    }

    ChoicePage(int dialogId, const char16_t* heading, const std::vector<RadioChoice>& choices,
               Field field, const std::vector<const char16_t*>& explanation, QWidget* parent);
    ~ChoicePage() override;
    void apply() override;

  private:
    std::function<void(int32_t)> store_;
    std::unique_ptr<RadioGroup> choices_;
};

// The pages by their dialog numbers: 125 file types, 126 initial zoom, 158 double tap, 156
// general options.
SettingsPage* createExtensionsPage(AppSettings& settings, QWidget* parent);
SettingsPage* createZoomPage(AppSettings& settings, QWidget* parent);
SettingsPage* createDoubleTapPage(AppSettings& settings, QWidget* parent);
SettingsPage* createGeneralPage(AppSettings& settings, QWidget* parent);

} // namespace velmora::settings::qt
