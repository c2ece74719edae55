#include "app/input/button_function.h"

namespace velmora::app {

void runButtonFunction(int32_t code, InputActions& actions, const settings::AppSettings& settings) {
    switch (static_cast<ButtonFunction>(code)) {
    case ButtonFunction::ZoomIn:
        actions.zoomIn();
        break;
    case ButtonFunction::ZoomOut:
        actions.zoomOut();
        break;
    case ButtonFunction::Next:
        actions.showNext();
        break;
    case ButtonFunction::Previous:
        actions.showPrevious();
        break;
    case ButtonFunction::SeekForward:
        actions.seekForward();
        break;
    case ButtonFunction::SeekBackward:
        actions.seekBackward();
        break;
    case ButtonFunction::WholeOriginal:
        actions.toggleWholeOriginal();
        break;
    case ButtonFunction::MoveLeft:
        actions.moveView(MoveDirection::Left, settings.xMove);
        break;
    case ButtonFunction::MoveRight:
        actions.moveView(MoveDirection::Right, settings.xMove);
        break;
    case ButtonFunction::MoveUp:
        actions.moveView(MoveDirection::Up, settings.yMove);
        break;
    case ButtonFunction::MoveDown:
        actions.moveView(MoveDirection::Down, settings.yMove);
        break;
    case ButtonFunction::AutoFitOriginal:
        actions.toggleAutoFitOriginal();
        break;
    case ButtonFunction::None:
    default:
        break;
    }
}

} // namespace velmora::app
