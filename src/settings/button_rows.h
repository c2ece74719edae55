// The rows of the button assignment page: the four arrow keys, then every hardware button that
// the device's shell describes, each with the function code it is assigned.
#pragma once

#include "settings/app_settings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::settings {

enum class ButtonRowKind : uint8_t { ArrowKey = 0, HardwareButton = 1 };

struct ButtonRow {
    ButtonRowKind kind = ButtonRowKind::ArrowKey;
    int32_t index = 0; // 0..3 left, right, up, down; 1..12 for hardware button n
    ButtonFunction function = ButtonFunction::None;
};

// Hardware button n as the shell's key in the machine hive describes it.
struct ShellButton {
    int32_t number = 0;
    std::u16string name; // "Name", or "Button<n>" when the value is missing or empty
    std::u16string icon; // "Icon" as stored, empty when missing
};

// The shell's key of hardware button n: SOFTWARE\Microsoft\Shell\Keys\40C<n in hex>.
std::u16string shellButtonKeyPath(int32_t button);

// Buttons 1..12 in order; a button whose key is missing is not on this device.
std::vector<ShellButton> readShellButtons();

// The arrow keys, then one row per listed button, with their current assignment.
std::vector<ButtonRow> buttonRows(const AppSettings& settings,
                                  const std::vector<ShellButton>& buttons);

// Stores each row's function back; buttons without a row keep their codes.
void storeButtonRows(const std::vector<ButtonRow>& rows, AppSettings& settings);

} // namespace velmora::settings
