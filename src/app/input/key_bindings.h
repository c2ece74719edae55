// The fixed key bindings and the double-tap option.
#pragma once

#include "app/input/input_actions.h"
#include "settings/app_settings.h"

namespace velmora::app {

// Virtual-key numbers of the keys the viewer listens to (letters are their capital ASCII code).
namespace vk {
inline constexpr int kBack = 0x08;
inline constexpr int kReturn = 0x0D;
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kDelete = 0x2E;
inline constexpr int kAdd = 0x6B;
inline constexpr int kSubtract = 0x6D;
inline constexpr int kFirstAppButton = 0xC1; // hardware button n is 0xC0 + n
} // namespace vk

// Acts on a key press; keys without a binding are ignored.
void handleKeyDown(int virtualKey, InputActions& actions, const settings::AppSettings& settings);

// Acts on a double tap by the DBLCLKOPT option.
void handleDoubleTap(InputActions& actions, const settings::AppSettings& settings);

} // namespace velmora::app
