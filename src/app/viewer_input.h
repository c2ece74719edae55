// Connects keys, hardware buttons, taps and drags to the viewer: the actions the input handlers
// ask for, the view a drag moves, and the hot-key table of the assigned hardware buttons.
#pragma once

#include "app/input/desktop_gestures.h"
#include "app/input/input_actions.h"
#include "app/input/stylus_drag.h"
#include "platform/hot_keys.h"

namespace velmora::app {

class ViewerApp;

class ViewerInput : public InputActions, public DragTarget {
  public:
    explicit ViewerInput(ViewerApp& app);

    // Takes over the buttons whose slot has an action, and gives them back.
    void registerButtons();
    void unregisterButtons();

    // A key press (virtual-key number) of the main window; held keys repeat.
    void keyDown(int virtualKey);
    // A hot-key press; key releases (kModKeyUp) are dropped.
    void hotKey(int id, uint32_t modifiers);
    void penDown(int x, int y) { drag_.penDown(x, y); }
    void penMove(int x, int y) { drag_.penMove(x, y, *this); }
    void penUp(int x, int y) { drag_.penUp(x, y, *this); }
    void doubleTap();
    // The mouse wheel (eighths of a degree; zoom: Ctrl held) and a pinch (total scale).
    void wheel(int dx, int dy, bool zoom);
    void pinchBegan() { gestures_.pinchBegan(); }
    void pinch(double scale) { gestures_.pinch(scale, *this); }
    [[nodiscard]] bool isPenDown() const { return drag_.isDown(); }
    const platform::HotKeyTable& hotKeys() const { return hotKeys_; }

    // InputActions
    void runCommand(ui::Command command) override;
    void moveView(MoveDirection direction, int amount) override;
    void leaveFullScreen() override;

    // DragTarget
    int surfaceWidth() const override;
    int surfaceHeight() const override;
    [[nodiscard]] bool imageWiderThanSurface() const override;
    [[nodiscard]] bool imageTallerThanSurface() const override;
    void shiftOrigin(int dx, int dy) override;
    void recompose(bool final) override;

  private:
    ViewerApp& app_;
    StylusDrag drag_;
    DesktopGestures gestures_;
    platform::HotKeyTable hotKeys_;
};

} // namespace velmora::app
