#include "settings/button_rows.h"

#include "platform/registry.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace velmora::settings {
namespace {

// A machine hive describing only the given buttons (names may be empty).
void writeMachineHive(const test::TempDir& config, const std::string& keys) {
    config.write("system.reg", "Windows Registry Editor Version 5.00\n\n" + keys);
    platform::setConfigFolder(config.path());
}

TEST(ButtonRowsTest, ListsTheButtonsTheShellDescribes) {
    test::TempDir config;
    writeMachineHive(config, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shell\\Keys\\40C1]\n"
                             "\"Name\"=\"Record\"\n\"Icon\"=\"\\\\x.ico,1\"\n\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shell\\Keys\\40C3]\n\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shell\\Keys\\40CC]\n"
                             "\"Name\"=\"\"\n");
    const auto buttons = readShellButtons();
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0].number, 1);
    EXPECT_EQ(buttons[0].name, u"Record");
    EXPECT_EQ(buttons[0].icon, u"\\x.ico,1");
    EXPECT_EQ(buttons[1].name, u"Button3");
    EXPECT_EQ(buttons[1].icon, u"");
    EXPECT_EQ(buttons[2].number, 12);
    EXPECT_EQ(buttons[2].name, u"Button12");
    EXPECT_EQ(shellButtonKeyPath(12), u"SOFTWARE\\Microsoft\\Shell\\Keys\\40CC");
}

TEST(ButtonRowsTest, RowsCarryAssignmentsBothWays) {
    AppSettings settings;
    const std::vector<ShellButton> buttons{{2, u"B", u""}, {4, u"D", u""}};
    auto rows = buttonRows(settings, buttons);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[3].kind, ButtonRowKind::ArrowKey);
    EXPECT_EQ(rows[3].function, settings::ButtonFunction::MoveDown); // down arrow moves down
    EXPECT_EQ(rows[4].kind, ButtonRowKind::HardwareButton);
    EXPECT_EQ(rows[4].index, 2);
    EXPECT_EQ(rows[4].function, settings::ButtonFunction::Next);

    rows[0].function = settings::ButtonFunction::AutoFitOriginal;
    rows[5].function = settings::ButtonFunction::None;
    const auto before = settings.buttonFunctions;
    storeButtonRows(rows, settings);
    EXPECT_EQ(
        settings.arrowKeyFunctions,
        (std::array{settings::ButtonFunction::AutoFitOriginal, settings::ButtonFunction::MoveRight,
                    settings::ButtonFunction::MoveUp, settings::ButtonFunction::MoveDown}));
    EXPECT_EQ(settings.buttonFunctions[4], settings::ButtonFunction::None);
    for (size_t n = 0; n < before.size(); ++n) {
        if (n != 4) {
            EXPECT_EQ(settings.buttonFunctions[n], before[n]) << n; // no row, no change
        }
    }
}

} // namespace
} // namespace velmora::settings
