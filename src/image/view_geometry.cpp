#include "image/view_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora::image {
namespace {

int32_t saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Conversion to int truncating toward zero, kept inside the int range.
int32_t truncated(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int32_t>(std::clamp(std::trunc(value),
                                           double{std::numeric_limits<int32_t>::min()},
                                           double{std::numeric_limits<int32_t>::max()}));
}

} // namespace

ViewGeometry::ViewGeometry(ViewState& state, ViewSize image, ViewSize surface,
                           const ViewOptions& options)
    : state_(state), image_(image), surface_(surface), options_(options) {}

bool ViewGeometry::wider() const {
    return state_.displayWidth > surface_.width;
}

bool ViewGeometry::taller() const {
    return state_.displayHeight > surface_.height;
}

int32_t ViewGeometry::horizontalPlace() const {
    const int32_t free = surface_.width - state_.displayWidth;
    switch (options_.placement) {
    case Placement::Centre:
        return free / 2;
    case Placement::TopRight:
        return free;
    default:
        return 0;
    }
}

int32_t ViewGeometry::verticalPlace() const {
    return options_.placement == Placement::Centre ? (surface_.height - state_.displayHeight) / 2
                                                   : 0;
}

void ViewGeometry::resetOrigin() {
    state_.originX = horizontalPlace();
    state_.originY = verticalPlace();
    state_.savedOriginX = state_.originX;
    state_.savedOriginY = state_.originY;
}

void ViewGeometry::clampOrigin() {
    if (wider()) {
        if (int64_t{state_.displayWidth} + state_.originX < surface_.width) {
            state_.originX = surface_.width - state_.displayWidth;
        } else if (state_.originX > 0) {
            state_.originX = 0;
        }
    } else {
        state_.originX = horizontalPlace();
    }
    if (taller()) {
        if (int64_t{state_.displayHeight} + state_.originY < surface_.height) {
            state_.originY = surface_.height - state_.displayHeight;
        } else if (state_.originY > 0) {
            state_.originY = 0;
        }
    } else {
        state_.originY = verticalPlace();
    }
}

bool ViewGeometry::moveView(MoveDirection direction, int32_t amount) {
    const bool horizontal = direction == MoveDirection::Left || direction == MoveDirection::Right;
    if (horizontal ? !wider() : !taller()) {
        return false;
    }
    switch (direction) {
    case MoveDirection::Left:
        state_.originX = saturate(int64_t{state_.originX} + amount);
        break;
    case MoveDirection::Right:
        state_.originX = saturate(int64_t{state_.originX} - amount);
        break;
    case MoveDirection::Up:
        state_.originY = saturate(int64_t{state_.originY} + amount);
        break;
    case MoveDirection::Down:
        state_.originY = saturate(int64_t{state_.originY} - amount);
        break;
    }
    clampOrigin();
    return true;
}

bool ViewGeometry::zoomIn() {
    return zoomBy(+0.1);
}

bool ViewGeometry::zoomOut() {
    return zoomBy(-0.1);
}

bool ViewGeometry::zoomBy(double step) {
    const int32_t W = image_.width, H = image_.height;
    if (W <= 0 || H <= 0) {
        return false;
    }
    const bool in = step > 0;
    const double s = static_cast<double>(state_.displayWidth) / W;
    // The image point under the surface centre; zooming in takes the exact centre, zooming out
    // the integer halves.
    const double centreX = in ? surface_.width * 0.5 : static_cast<double>(surface_.width / 2);
    const double centreY = in ? surface_.height * 0.5 : static_cast<double>(surface_.height / 2);
    double cx = W * 0.5;
    double cy = H * 0.5;
    if (s > 0) {
        const double r = 1 / s;
        cx = (centreX - state_.originX) * r;
        cy = (centreY - state_.originY) * r;
    } // else nothing is shown: zoom about the image's own centre
    double scale = s + step;
    if (in && scale > 3.0) {
        scale = 3.0;
    } else if (!in && scale < 0.2) {
        scale = 0.2;
    }
    state_.fit = FitMode::None;
    state_.displayWidth = truncated(W * scale);
    state_.displayHeight = truncated(H * scale);
    state_.originX = saturate(int64_t{surface_.width / 2} - truncated(scale * cx));
    state_.originY = saturate(int64_t{surface_.height / 2} - truncated(scale * cy));
    clampOrigin();
    return true;
}

} // namespace velmora::image
