// The zoom modes: original size, the four fits and the toggles between a fit and original size.
#include "image/view_geometry.h"

#include <algorithm>
#include <limits>

namespace velmora::image {
namespace {

// a * b / c with the product first and the quotient truncated toward zero; c > 0.
int32_t scaledSide(int32_t a, int32_t b, int32_t c) {
    return static_cast<int32_t>(
        std::min<int64_t>(int64_t{a} * b / c, std::numeric_limits<int32_t>::max()));
}

} // namespace

void ViewGeometry::applyInitialZoom() {
    switch (options_.initialZoom) {
    case InitialZoom::FitHeight:
        fitHeight();
        break;
    case InitialZoom::FitWidth:
        fitWidth();
        break;
    case InitialZoom::FitWhole:
        fitWhole();
        break;
    case InitialZoom::AutoFit:
        autoFit();
        break;
    default:
        showOriginalSize(false);
        break;
    }
}

void ViewGeometry::showOriginalSize(bool restore) {
    state_.fit = FitMode::None;
    state_.displayWidth = image_.width;
    state_.displayHeight = image_.height;
    if (restore) {
        state_.originX = state_.savedOriginX;
        state_.originY = state_.savedOriginY;
        clampOrigin();
    } else {
        resetOrigin();
    }
}

void ViewGeometry::fitWhole() {
    follow(FitMode::Whole);
}

void ViewGeometry::fitWidth() {
    follow(FitMode::Width);
}

void ViewGeometry::fitHeight() {
    follow(FitMode::Height);
}

void ViewGeometry::autoFit() {
    follow(FitMode::Auto);
}

void ViewGeometry::refit() {
    if (state_.fit == FitMode::None) {
        resetOrigin();
    } else {
        follow(state_.fit);
    }
}

void ViewGeometry::follow(FitMode fit) {
    switch (fit) {
    case FitMode::Whole:
        placeWhole();
        break;
    case FitMode::Width:
        placeWidth();
        break;
    case FitMode::Height:
        placeHeight();
        break;
    case FitMode::Auto:
        placeAuto();
        break;
    case FitMode::None:
        break;
    }
    // Set last: a fit that falls back to original size still follows the surface.
    state_.fit = fit;
}

void ViewGeometry::placeWhole() {
    const int32_t W = image_.width, H = image_.height;
    const int32_t Sw = surface_.width, Sh = surface_.height;
    if ((Sw >= W && Sh >= H) || W <= 0 || H <= 0) {
        showOriginalSize(false);
        return;
    }
    state_.displayWidth = Sw;
    state_.displayHeight = scaledSide(Sw, H, W);
    state_.originX = 0;
    state_.originY = verticalPlace();
    if (Sh < state_.displayHeight) {
        state_.displayHeight = Sh;
        state_.displayWidth = scaledSide(Sh, W, H);
        state_.originY = 0;
        state_.originX = horizontalPlace();
    }
}

void ViewGeometry::placeWidth() {
    const int32_t W = image_.width, H = image_.height;
    if (surface_.width >= W || W <= 0 || H <= 0) {
        showOriginalSize(false);
        return;
    }
    state_.displayWidth = surface_.width;
    state_.displayHeight = scaledSide(surface_.width, H, W);
    state_.originX = 0;
    state_.originY = verticalPlace();
}

void ViewGeometry::placeHeight() {
    const int32_t W = image_.width, H = image_.height;
    if (surface_.height >= H || W <= 0 || H <= 0) {
        showOriginalSize(false);
        return;
    }
    state_.displayHeight = surface_.height;
    state_.displayWidth = scaledSide(surface_.height, W, H);
    state_.originY = 0;
    state_.originX = horizontalPlace();
}

void ViewGeometry::placeAuto() {
    const int32_t W = image_.width, H = image_.height;
    const int32_t Sw = surface_.width, Sh = surface_.height;
    if (W <= Sw || H <= Sh || W <= 0 || H <= 0) {
        showOriginalSize(false);
        return;
    }
    state_.displayWidth = Sw;
    state_.displayHeight = scaledSide(Sw, H, W);
    if (state_.displayHeight < Sh) {
        state_.displayHeight = Sh;
        state_.displayWidth = scaledSide(Sh, W, H);
    }
    state_.originX = horizontalPlace();
    state_.originY = verticalPlace();
}

void ViewGeometry::toggleWholeOriginal() {
    toggleOriginalWith(&ViewGeometry::fitWhole);
}

void ViewGeometry::toggleAutoFitOriginal() {
    toggleOriginalWith(&ViewGeometry::autoFit);
}

void ViewGeometry::toggleOriginalWith(void (ViewGeometry::*fit)()) {
    if (state_.displayWidth != image_.width || state_.displayHeight != image_.height) {
        showOriginalSize(true);
        return;
    }
    // Remember the scroll position so that toggling back returns to it.
    state_.savedOriginX = state_.originX;
    state_.savedOriginY = state_.originY;
    (this->*fit)();
}

} // namespace velmora::image
