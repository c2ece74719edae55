#include "app/input/stylus_drag.h"

namespace velmora::app {
namespace {

// Client coordinates travel as unsigned 16-bit values: left of or above the window is large.
int asDeviceCoordinate(int value) {
    return static_cast<uint16_t>(value);
}

} // namespace

void StylusDrag::penDown(int x, int y) {
    lastX_ = asDeviceCoordinate(x);
    lastY_ = asDeviceCoordinate(y);
    penDown_ = true;
    lastTick_ = tickCount_();
}

void StylusDrag::penMove(int x, int y, DragTarget& target) {
    if (!penDown_ || tickCount_() - lastTick_ < kStepIntervalMs) {
        return;
    }
    step(x, y, false, target);
    lastTick_ = tickCount_();
}

void StylusDrag::penUp(int x, int y, DragTarget& target) {
    if (!penDown_) {
        return;
    }
    step(x, y, true, target);
    penDown_ = false;
}

void StylusDrag::step(int x, int y, bool final, DragTarget& target) {
    x = asDeviceCoordinate(x);
    y = asDeviceCoordinate(y);
    if (x > target.surfaceWidth() || y > target.surfaceHeight()) {
        penDown_ = false; // left the surface: the drag ends without a final redraw
        return;
    }
    int dx = 0;
    int dy = 0;
    bool moved = false;
    if (target.imageWiderThanSurface()) {
        dx = x - lastX_;
        moved = true;
    }
    if (target.imageTallerThanSurface()) {
        dy = y - lastY_;
        moved = true;
    }
    lastX_ = x;
    lastY_ = y;
    if (moved) {
        target.shiftOrigin(dx, dy);
        target.recompose(final);
    }
}

} // namespace velmora::app
