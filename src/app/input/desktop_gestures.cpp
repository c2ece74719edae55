#include "app/input/desktop_gestures.h"

#include "app/input/key_bindings.h"

#include <cmath>

namespace velmora::app {
namespace {

void repeat(int steps, const auto& forward, const auto& backward) {
    for (int i = 0; i < steps; ++i) {
        forward();
    }
    for (int i = 0; i > steps; --i) {
        backward();
    }
}

void zoomSteps(int steps, InputActions& actions) {
    repeat(
        steps, [&] { actions.runCommand(ui::Command::ZoomIn); },
        [&] { actions.runCommand(ui::Command::ZoomOut); });
}

} // namespace

int StepCounter::add(double amount) {
    pending_ += amount;
    const double steps = std::trunc(pending_ / stepSize_);
    pending_ -= steps * stepSize_;
    return static_cast<int>(steps);
}

void DesktopGestures::wheel(int dx, int dy, bool zoom, InputActions& actions,
                            const settings::AppSettings& settings) {
    const int vertical = vertical_.add(dy);
    if (zoom) {
        zoomSteps(vertical, actions);
        return;
    }
    const auto key = [&](int virtualKey) {
        return [&, virtualKey] { handleKeyDown(virtualKey, actions, settings); };
    };
    repeat(vertical, key(vk::kUp), key(vk::kDown));
    repeat(horizontal_.add(dx), key(vk::kLeft), key(vk::kRight));
}

void DesktopGestures::pinchBegan() {
    pinch_.reset();
    pinchScale_ = 1;
}

void DesktopGestures::pinch(double scale, InputActions& actions) {
    if (!(scale > 0)) {
        return;
    }
    zoomSteps(pinch_.add(std::log(scale / pinchScale_)), actions);
    pinchScale_ = scale;
}

} // namespace velmora::app
