#include "app/viewer_input.h"

#include "app/input/button_function.h"
#include "app/input/key_bindings.h"
#include "app/main_window.h"
#include "app/viewer_app.h"
#include "platform/tick_count.h"

namespace velmora::app {
namespace {

constexpr int kStoredButtonIds = settings::kStoredButtons; // hot-key ids 12..14 are ignored
constexpr uint32_t kButtonModifiers = platform::kModWin | platform::kModKeyUp;

bool isAppButton(int virtualKey) {
    return virtualKey >= vk::kFirstAppButton &&
           virtualKey < vk::kFirstAppButton + settings::kButtonSlots;
}

image::MoveDirection toViewDirection(MoveDirection direction) {
    switch (direction) {
    case MoveDirection::Left:
        return image::MoveDirection::Left;
    case MoveDirection::Right:
        return image::MoveDirection::Right;
    case MoveDirection::Up:
        return image::MoveDirection::Up;
    case MoveDirection::Down:
        break;
    }
    return image::MoveDirection::Down;
}

} // namespace

ViewerInput::ViewerInput(ViewerApp& app) : app_(app), drag_(platform::tickCount) {}

void ViewerInput::registerButtons() {
    for (int slot = 0; slot < settings::kButtonSlots; ++slot) {
        if (app_.settings.buttonFunctions[slot + 1] != ButtonFunction::None) {
            // A failed registration leaves the key to the system, silently.
            (void)hotKeys_.registerHotKey(slot, vk::kFirstAppButton + slot, kButtonModifiers);
        }
    }
}

void ViewerInput::unregisterButtons() {
    for (int slot = 0; slot < settings::kButtonSlots; ++slot) {
        if (app_.settings.buttonFunctions[slot + 1] != ButtonFunction::None) {
            (void)hotKeys_.unregisterHotKey(slot); // a key never taken stays the system's
        }
    }
}

void ViewerInput::keyDown(int virtualKey) {
    if (!isAppButton(virtualKey)) {
        handleKeyDown(virtualKey, *this, app_.settings);
        return;
    }
    // A button that was not taken over keeps its system function: nothing here.
    if (const auto registered = hotKeys_.lookup(static_cast<uint32_t>(virtualKey))) {
        hotKey(registered->id, registered->modifiers & ~platform::kModKeyUp);
    }
}

void ViewerInput::hotKey(int id, uint32_t modifiers) {
    if ((modifiers & platform::kModKeyUp) != 0) {
        return;
    }
    if (!app_.mainWindow().isActiveWindow()) {
        app_.activate(); // the first press only brings the viewer forward
        return;
    }
    if (id < 0 || id >= kStoredButtonIds) {
        return;
    }
    runButtonFunction(app_.settings.buttonFunctions[static_cast<size_t>(id) + 1], *this,
                      app_.settings);
}

void ViewerInput::doubleTap() {
    handleDoubleTap(*this, app_.settings);
}

void ViewerInput::wheel(int dx, int dy, bool zoom) {
    gestures_.wheel(dx, dy, zoom, *this, app_.settings);
}

void ViewerInput::runCommand(ui::Command command) {
    app_.onCommand(command);
}

void ViewerInput::moveView(MoveDirection direction, int amount) {
    if (app_.pictureView().geometry().moveView(toViewDirection(direction), amount)) {
        app_.pictureView().redraw();
    }
}

void ViewerInput::leaveFullScreen() {
    if (app_.isFullScreen()) {
        app_.onCommand(ui::Command::NormalScreen);
    }
}

int ViewerInput::surfaceWidth() const {
    return app_.pictureView().surface().width();
}

int ViewerInput::surfaceHeight() const {
    return app_.pictureView().surface().height();
}

bool ViewerInput::imageWiderThanSurface() const {
    return app_.pictureView().geometry().wider();
}

bool ViewerInput::imageTallerThanSurface() const {
    return app_.pictureView().geometry().taller();
}

void ViewerInput::shiftOrigin(int dx, int dy) {
    app_.pictureView().shiftOrigin(dx, dy);
}

void ViewerInput::recompose(bool final) {
    app_.pictureView().clampOrigin();
    if (final) {
        app_.pictureView().redraw();
    } else {
        app_.pictureView().redrawFast();
    }
}

} // namespace velmora::app
