#include "app/input/key_bindings.h"

#include "app/input/action_table.h"
#include "app/input/button_function.h"

#include <array>

namespace velmora::app {

void handleKeyDown(int virtualKey, InputActions& actions, const settings::AppSettings& settings) {
    // The arrow keys, in the order of their settings: left, right, up, down.
    static constexpr std::array kArrows{vk::kLeft, vk::kRight, vk::kUp, vk::kDown};
    if (const auto arrow = std::ranges::find(kArrows, virtualKey); arrow != kArrows.end()) {
        runButtonFunction(settings.arrowKeyFunctions[static_cast<size_t>(arrow - kArrows.begin())],
                          actions, settings);
    } else if (virtualKey == vk::kEscape) {
        // A desktop's key beside the handheld's: Esc leaves full screen.
        actions.leaveFullScreen();
    } else if (const Action* action = actionForKey(virtualKey)) {
        actions.runCommand(action->command);
    }
}

void handleDoubleTap(InputActions& actions, const settings::AppSettings& settings) {
    if (const Action* action = findAction(&Action::doubleTap, settings.doubleTapAction)) {
        actions.runCommand(action->command);
    }
}

} // namespace velmora::app
