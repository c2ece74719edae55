#include "app/picture_view.h"

#include "ui/message_box.h"
#include "ui/string_table.h"

#include <utility>

namespace velmora::app {

PictureView::PictureView(browse::Navigator& navigator, const settings::AppSettings& settings,
                         std::function<void()> repaint)
    : navigator_(navigator), settings_(settings), repaint_(std::move(repaint)) {}

bool PictureView::resize(int width, int height) {
    if (width < 1 || height < 1 || (width == surface_.width() && height == surface_.height())) {
        return false;
    }
    if (!surface_.create(width, height)) {
        ui::showError(ui::str::kImageCreateFailed);
        return false;
    }
    // A fit follows the new size; a zoom chosen by hand is kept and only re-placed.
    geometry().refit();
    navigator_.viewRequestChanged();
    return true;
}

image::ViewGeometry PictureView::geometry() {
    return image::ViewGeometry(state_, navigator_.shownSize(),
                               {surface_.width(), surface_.height()}, options());
}

image::ViewOptions PictureView::options() const {
    image::ViewOptions options;
    options.placement = settings_.placement;
    options.seekOrder = settings_.seekOrder;
    options.seekStepX = settings_.seekStepX;
    options.seekStepY = settings_.seekStepY;
    options.initialZoom = settings_.initialZoom;
    options.smoothReduction = settings_.smoothReduction;
    options.showAlpha = settings_.showAlpha;
    return options;
}

image::ViewRequest PictureView::request() const {
    if (!surface_.hasPixels()) {
        return {};
    }
    return {{surface_.width(), surface_.height()}, options()};
}

void PictureView::clampOrigin() {
    geometry().clampOrigin();
}

void PictureView::shiftOrigin(int dx, int dy) {
    state_.originX += dx;
    state_.originY += dy;
}

void PictureView::showInitialZoom() {
    geometry().applyInitialZoom();
    redraw();
}

void PictureView::showComposed(const image::ComposedView& ahead) {
    geometry().applyInitialZoom();
    if (!image::copyComposedView(surface_, state_, ahead)) {
        redraw();
        return;
    }
    ++shownCount_;
    repaint_();
}

void PictureView::showWhole(const image::ComposedView* ahead) {
    if (ahead == nullptr || !image::copyComposedView(surface_, state_, *ahead)) {
        redraw();
        return;
    }
    ++shownCount_;
    repaint_();
}

void PictureView::clear() {
    state_ = {};
    redraw();
}

bool PictureView::reducedTooSmall() const {
    const image::DibImage& viewed = navigator_.viewed();
    return navigator_.showsReduced() &&
           (state_.displayWidth > viewed.width() || state_.displayHeight > viewed.height());
}

void PictureView::redraw() {
    if (reducedTooSmall()) {
        // Taking the whole picture draws the view again (showWhole).
        (void)navigator_.current();
        return;
    }
    ++shownCount_;
    if (surface_.hasPixels()) {
        ++composeCount_;
        image::compose(surface_, navigator_.viewed(), state_, settings_.smoothReduction,
                       settings_.showAlpha);
    }
    repaint_();
}

void PictureView::redrawFast() {
    if (reducedTooSmall()) {
        (void)navigator_.current();
        return;
    }
    if (surface_.hasPixels()) {
        ++composeCount_;
        image::compose(surface_, navigator_.viewed(), state_, false, settings_.showAlpha);
    }
    repaint_();
}

void PictureView::zoomBy(bool (image::ViewGeometry::*step)()) {
    auto view = geometry();
    if ((view.*step)()) {
        redraw();
    }
}

void PictureView::apply(void (image::ViewGeometry::*operation)()) {
    auto view = geometry();
    (view.*operation)();
    redraw();
}

void PictureView::showActualSize() {
    geometry().showOriginalSize(false);
    redraw();
}

void PictureView::seek(image::SeekResult result) {
    switch (result) {
    case image::SeekResult::Moved:
        redraw();
        break;
    case image::SeekResult::ShowNext: {
        // The seek has already moved the origin; a declined wrap or a failed load shows nothing
        // new, and the surface must still follow the view. A picture shown from the read-ahead
        // brings its view composed.
        const uint64_t shown = shownCount_;
        navigator_.showNext();
        if (shownCount_ == shown) {
            redraw();
        }
        break;
    }
    case image::SeekResult::ShowPrevious:
        navigator_.showPrevious();
        geometry().showReadingEnd();
        redraw();
        break;
    }
}

} // namespace velmora::app
