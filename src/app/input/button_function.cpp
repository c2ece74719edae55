#include "app/input/button_function.h"

#include "app/input/action_table.h"

namespace velmora::app {

void runButtonFunction(ButtonFunction function, InputActions& actions,
                       const settings::AppSettings& settings) {
    switch (function) {
    case ButtonFunction::MoveLeft:
        actions.moveView(MoveDirection::Left, settings.moveStepX);
        break;
    case ButtonFunction::MoveRight:
        actions.moveView(MoveDirection::Right, settings.moveStepX);
        break;
    case ButtonFunction::MoveUp:
        actions.moveView(MoveDirection::Up, settings.moveStepY);
        break;
    case ButtonFunction::MoveDown:
        actions.moveView(MoveDirection::Down, settings.moveStepY);
        break;
    default:
        if (const Action* action = findAction(&Action::button, function)) {
            actions.runCommand(action->command);
        }
        break;
    }
}

} // namespace velmora::app
