// What keys, hardware buttons, taps and drags can make the viewer do. The main window implements
// it with the view and navigation operations; tests implement it with a recorder.
#pragma once

namespace velmora::app {

// The movement of the view over the picture: Left reveals more of the picture's left part.
enum class MoveDirection { Left, Right, Up, Down };

class InputActions {
  public:
    virtual ~InputActions() = default;
    virtual void zoomIn() = 0;
    virtual void zoomOut() = 0;
    virtual void showNext() = 0;
    virtual void showPrevious() = 0;
    virtual void showFirst() = 0;
    virtual void showLast() = 0;
    virtual void seekForward() = 0;
    virtual void seekBackward() = 0;
    virtual void toggleWholeOriginal() = 0;
    virtual void toggleAutoFitOriginal() = 0;
    virtual void fitWhole() = 0;
    // Scrolls the view by amount pixels and recomposes it.
    virtual void moveView(MoveDirection direction, int amount) = 0;
    virtual void showPopupMenu() = 0;
    // Back to normal mode when in full-screen mode; nothing otherwise.
    virtual void leaveFullScreen() = 0;
    // A menu command by its identifier (open, save, the transforms).
    virtual void runCommand(int commandId) = 0;
};

} // namespace velmora::app
