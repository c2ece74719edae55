#include "app/input/key_bindings.h"

#include "app/command_ids.h"
#include "app/input/button_function.h"

namespace velmora::app {
namespace {

void run(ButtonFunction function, InputActions& actions, const settings::AppSettings& settings) {
    runButtonFunction(static_cast<int32_t>(function), actions, settings);
}

} // namespace

void handleKeyDown(int virtualKey, InputActions& actions, const settings::AppSettings& settings) {
    switch (virtualKey) {
    case vk::kBack:
    case 'P':
        run(ButtonFunction::Previous, actions, settings);
        break;
    case vk::kSpace:
    case 'N':
        run(ButtonFunction::Next, actions, settings);
        break;
    case vk::kReturn:
        actions.showPopupMenu();
        break;
    case vk::kEnd:
        actions.showLast();
        break;
    // A desktop's keys beside the handheld's: Esc leaves full screen, Delete deletes (asking).
    case vk::kEscape:
        actions.leaveFullScreen();
        break;
    case vk::kDelete:
        actions.runCommand(kCmdDelete);
        break;
    case vk::kHome:
        actions.showFirst();
        break;
    case vk::kLeft:
        runButtonFunction(settings.keyFunction[0], actions, settings);
        break;
    case vk::kRight:
        runButtonFunction(settings.keyFunction[1], actions, settings);
        break;
    case vk::kUp:
        runButtonFunction(settings.keyFunction[2], actions, settings);
        break;
    case vk::kDown:
        runButtonFunction(settings.keyFunction[3], actions, settings);
        break;
    case 'B':
        run(ButtonFunction::SeekBackward, actions, settings);
        break;
    case 'F':
        run(ButtonFunction::SeekForward, actions, settings);
        break;
    case 'E':
        actions.fitWhole();
        break;
    case 'H':
        actions.runCommand(kCmdFlipHorizontal);
        break;
    case 'L':
        actions.runCommand(kCmdRotateLeft);
        break;
    case 'O':
        actions.runCommand(kCmdOpen);
        break;
    case 'R':
        actions.runCommand(kCmdRotateRight);
        break;
    case 'S':
        actions.runCommand(kCmdSave);
        break;
    case 'V':
        actions.runCommand(kCmdFlipVertical);
        break;
    case vk::kAdd:
        actions.zoomIn();
        break;
    case vk::kSubtract:
        actions.zoomOut();
        break;
    default:
        break;
    }
}

void handleDoubleTap(InputActions& actions, const settings::AppSettings& settings) {
    switch (settings.dblClkOpt) {
    case 1:
        actions.showPopupMenu();
        break;
    case 2:
        actions.showNext();
        break;
    case 3:
        actions.toggleWholeOriginal();
        break;
    case 4:
        actions.toggleAutoFitOriginal();
        break;
    default:
        break;
    }
}

} // namespace velmora::app
