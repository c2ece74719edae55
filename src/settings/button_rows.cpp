#include "settings/button_rows.h"

#include "platform/registry.h"
#include "settings/registry_text.h"

namespace velmora::settings {
std::u16string shellButtonKeyPath(int32_t button) {
    static constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
    std::u16string path = u"SOFTWARE\\Microsoft\\Shell\\Keys\\40C";
    path.push_back(kHexDigits[button & 0xF]);
    return path;
}

std::vector<ShellButton> readShellButtons() {
    std::vector<ShellButton> buttons;
    for (int32_t n = 1; n <= kStoredButtons; ++n) {
        const platform::RegistryKey key =
            platform::registry().openKey(platform::Hive::LocalMachine, shellButtonKeyPath(n));
        if (!key.isOpen()) {
            continue;
        }
        ShellButton button{n, readRegistryText(key, u"Name"), readRegistryText(key, u"Icon")};
        if (button.name.empty()) {
            button.name = withNumber(u"Button", n);
        }
        buttons.push_back(std::move(button));
    }
    return buttons;
}

std::vector<ButtonRow> buttonRows(const AppSettings& settings,
                                  const std::vector<ShellButton>& buttons) {
    std::vector<ButtonRow> rows;
    for (int32_t key = 0; key < kArrowKeys; ++key) {
        rows.push_back({ButtonRowKind::ArrowKey, key, settings.arrowKeyFunctions[key]});
    }
    for (const ShellButton& button : buttons) {
        rows.push_back({ButtonRowKind::HardwareButton, button.number,
                        settings.buttonFunctions[button.number]});
    }
    return rows;
}

void storeButtonRows(const std::vector<ButtonRow>& rows, AppSettings& settings) {
    for (const ButtonRow& row : rows) {
        if (row.kind == ButtonRowKind::ArrowKey && row.index >= 0 && row.index < kArrowKeys) {
            settings.arrowKeyFunctions[row.index] = row.function;
        } else if (row.kind == ButtonRowKind::HardwareButton && row.index >= 1 &&
                   row.index <= kStoredButtons) {
            settings.buttonFunctions[row.index] = row.function;
        }
    }
}

} // namespace velmora::settings
