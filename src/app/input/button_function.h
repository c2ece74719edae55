// What a hardware button or an arrow key does with the action the settings give it.
#pragma once

#include "app/input/input_actions.h"
#include "settings/app_settings.h"
#include "settings/button_functions.h"

namespace velmora::app {

using settings::ButtonFunction;

// Performs the action of function; unknown codes do nothing.
void runButtonFunction(ButtonFunction function, InputActions& actions,
                       const settings::AppSettings& settings);

} // namespace velmora::app
