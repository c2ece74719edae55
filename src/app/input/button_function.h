// The actions a hardware button or an arrow key can be given.
#pragma once

#include "app/input/input_actions.h"
#include "settings/app_settings.h"

#include <array>
#include <cstdint>

namespace velmora::app {

enum class ButtonFunction : int32_t {
    None = 0,
    ZoomIn = 1,
    ZoomOut = 2,
    Next = 3,
    Previous = 4,
    SeekForward = 5,
    SeekBackward = 6,
    WholeOriginal = 7,
    MoveLeft = 8,
    MoveRight = 9,
    MoveUp = 10,
    MoveDown = 11,
    AutoFitOriginal = 12,
};

// Display names in code order, then the names of the four arrow keys (left, right, up, down).
extern const std::array<const char16_t*, 17> buttonFunctionNames;

// Performs the action of code; unknown codes do nothing.
void runButtonFunction(int32_t code, InputActions& actions, const settings::AppSettings& settings);

} // namespace velmora::app
