#include "image/view_compose.h"

#include "image/smooth_scale.h"

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

void compose(DibImage& surface, const DibImage& image, const ViewState& state, bool smooth) {
    surface.fillBlack();
    if (!image.hasPixels()) {
        return;
    }
    const int32_t W = image.width(), H = image.height();
    switch (chooseDrawPath({W, H}, state, smooth)) {
    case DrawPath::Copy:
        surface.copyRectFrom(state.originX, state.originY, W, H, image, 0, 0);
        break;
    case DrawPath::Smooth:
        smoothScaleFrom(surface, state.originX, state.originY, state.displayWidth,
                        state.displayHeight, image, 0, 0, W, H);
        break;
    case DrawPath::Stretch:
        surface.stretchFrom(state.originX, state.originY, state.displayWidth, state.displayHeight,
                            image, 0, 0, W, H);
        break;
    }
}

} // namespace velmora::image
