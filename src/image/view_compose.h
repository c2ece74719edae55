// Composing the view: draws the current image into the surface (the back buffer) at the size
// and place a ViewState gives, black around it.
#pragma once

#include "image/dib_image.h"
#include "image/view_state.h"

namespace velmora::image {

enum class DrawPath {
    Copy,    // shown at original size: unscaled copy
    Smooth,  // reduced in both directions with smooth drawing allowed: bilinear reduction
    Stretch, // anything else: nearest-pixel stretch
};

DrawPath chooseDrawPath(ViewSize image, const ViewState& state, bool smooth);

// Fills the surface black and draws the image into it; parts outside the surface are clipped.
// redraw passes options.viewHq as smooth; the quick redraw while dragging passes false. The
// caller then repaints the window from the surface.
void compose(DibImage& surface, const DibImage& image, const ViewState& state, bool smooth);

} // namespace velmora::image
