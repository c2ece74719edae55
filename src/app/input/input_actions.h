// What keys, hardware buttons, taps and drags can make the viewer do. The main window implements
// it with the view and navigation operations; tests implement it with a recorder.
#pragma once

#include "ui/command.h"

namespace velmora::app {

// The movement of the view over the picture: Left reveals more of the picture's left part.
enum class MoveDirection { Left, Right, Up, Down };

class InputActions {
  public:
    virtual ~InputActions() = default;
    // A command of the action table: the view, navigation and menu commands.
    virtual void runCommand(ui::Command command) = 0;
    // Scrolls the view by amount pixels and recomposes it.
    virtual void moveView(MoveDirection direction, int amount) = 0;
    // Back to normal mode when in full-screen mode; nothing otherwise.
    virtual void leaveFullScreen() = 0;
};

} // namespace velmora::app
