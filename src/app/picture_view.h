// The picture as the main window shows it: the composition surface (device pixels) the window is
// painted from, the view of the current picture on it, and the zoom, fit and seek operations that
// move that view and compose the surface again.
#pragma once

#include "browse/navigator.h"
#include "image/dib_image.h"
#include "image/view_compose.h"
#include "image/view_geometry.h"
#include "image/view_state.h"
#include "settings/app_settings.h"

#include <cstdint>
#include <functional>

namespace velmora::app {

class PictureView {
  public:
    // repaint: schedules a repaint of the window area the surface covers.
    PictureView(browse::Navigator& navigator, const settings::AppSettings& settings,
                std::function<void()> repaint);

    // A surface of the given size; false when the size is unchanged or cannot be had.
    [[nodiscard]] bool resize(int width, int height);

    const image::DibImage& surface() const { return surface_; }
    const image::ViewState& state() const { return state_; }
    image::ViewGeometry geometry();
    image::ViewOptions options() const;
    // What a view composed ahead must have been composed for; empty without a surface.
    image::ViewRequest request() const;

    void clampOrigin();
    void shiftOrigin(int dx, int dy);
    // A new picture is shown: its view by the start-up zoom, or the one composed ahead.
    void showInitialZoom();
    void showComposed(const image::ComposedView& ahead);
    // The whole picture took the place of its reduced decode: the view stays and is drawn again,
    // by copy when ahead (may be nullptr) was composed at its size and place.
    void showWhole(const image::ComposedView* ahead);
    // No picture any more: the surface is black.
    void clear();
    // Composes the surface again, smoothly when the settings ask for it; fast skips the smoothing.
    // A view larger than the reduced decode shown first waits for the whole picture.
    void redraw();
    void redrawFast();

    void zoomBy(bool (image::ViewGeometry::*step)());
    void apply(void (image::ViewGeometry::*operation)());
    void showActualSize();
    void seek(image::SeekResult result);

    // How many times this thread has composed the surface; a view copied from the read-ahead
    // costs none.
    uint64_t composeCount() const { return composeCount_; }

  private:
    // Only a reduced decode is there, and the view shows the picture larger than it.
    [[nodiscard]] bool reducedTooSmall() const;

    browse::Navigator& navigator_;
    const settings::AppSettings& settings_;
    std::function<void()> repaint_;
    image::DibImage surface_;
    image::ViewState state_;
    uint64_t shownCount_ = 0; // views put on the surface, composed here or copied from ahead
    uint64_t composeCount_ = 0;
};

} // namespace velmora::app
