#include "image/view_compose.h"

#include "image/checker_compose.h"
#include "image/smooth_scale.h"
#include "image/view_geometry.h"

#include <cstring>

namespace velmora::image {

DrawPath chooseDrawPath(ViewSize image, const ViewState& state, bool smooth) {
    if (state.displayWidth == image.width && state.displayHeight == image.height) {
        return DrawPath::Copy;
    }
    if (smooth && state.displayWidth < image.width && state.displayHeight < image.height) {
        return DrawPath::Smooth;
    }
    return DrawPath::Stretch;
}

void compose(DibImage& surface, const DibImage& image, const ViewState& state, bool smooth,
             bool showAlpha) {
    surface.fillBlack();
    if (showAlpha && image.hasAlpha()) {
        composeOverChecker(surface, image, state, smooth);
        return;
    }
    drawPicture(surface, image, state, smooth);
}

void drawPicture(DibImage& surface, const DibImage& image, const ViewState& state, bool smooth) {
    if (!image.hasPixels()) {
        return;
    }
    const int32_t W = image.width(), H = image.height();
    const PixelRect whole{0, 0, W, H};
    const PixelRect shown{state.originX, state.originY, state.displayWidth, state.displayHeight};
    switch (chooseDrawPath({W, H}, state, smooth)) {
    case DrawPath::Copy:
        surface.copyRectFrom(state.originX, state.originY, W, H, image, 0, 0);
        break;
    case DrawPath::Smooth:
        smoothScaleFrom(surface, shown, image, whole);
        break;
    case DrawPath::Stretch:
        surface.stretchFrom(shown, image, whole);
        break;
    }
}

bool composeInitialView(ComposedView& view, const DibImage& image, const ViewRequest& request) {
    view.request = {};
    const ViewSize surface = request.surface;
    if (surface.width < 1 || surface.height < 1 || !image.hasPixels()) {
        return false;
    }
    if ((view.surface.width() != surface.width || view.surface.height() != surface.height ||
         !view.surface.hasPixels()) &&
        !view.surface.create(surface.width, surface.height)) {
        return false;
    }
    view.state = {};
    ViewGeometry(view.state, {image.width(), image.height()}, surface, request.options)
        .applyInitialZoom();
    compose(view.surface, image, view.state, request.options.smoothReduction,
            request.options.showAlpha);
    view.request = request;
    return true;
}

bool copyComposedView(DibImage& surface, const ViewState& state, const ComposedView& ahead) {
    const ViewState& drawn = ahead.state;
    const bool sameSurface = ahead.request.surface == ViewSize{surface.width(), surface.height()} &&
                             ahead.surface.width() == surface.width() &&
                             ahead.surface.height() == surface.height();
    const bool samePlace = drawn.displayWidth == state.displayWidth &&
                           drawn.displayHeight == state.displayHeight &&
                           drawn.originX == state.originX && drawn.originY == state.originY;
    if (!sameSurface || !samePlace || !surface.hasPixels() || !ahead.surface.hasPixels()) {
        return false;
    }
    std::memcpy(surface.bits(), ahead.surface.bits(),
                static_cast<size_t>(surface.stride()) * static_cast<size_t>(surface.height()));
    return true;
}

} // namespace velmora::image
