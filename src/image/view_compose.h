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
// redraw passes options.smoothReduction as smooth; the quick redraw while dragging passes false.
// With showAlpha, an image with an alpha plane is drawn over a checkerboard; otherwise its
// stored colours are drawn as they are. The caller then repaints the window from the surface.
void compose(DibImage& surface, const DibImage& image, const ViewState& state, bool smooth,
             bool showAlpha);

// Draws the image's colours into the surface by the path chooseDrawPath picks, leaving the rest
// of the surface as it was.
void drawPicture(DibImage& surface, const DibImage& image, const ViewState& state, bool smooth);

// What a newly shown picture is composed for: the surface size and the view settings.
struct ViewRequest {
    ViewSize surface; // 0 x 0: nothing to compose for
    ViewOptions options;

    bool operator==(const ViewRequest&) const = default;
};

// The view of a picture as showing it would make it, prepared ahead of time: the state the
// initial zoom mode gives it and the surface composed from that state.
struct ComposedView {
    ViewRequest request; // 0 x 0 surface while nothing is composed
    ViewState state;
    DibImage surface;
};

// Applies the initial zoom mode to image for request and composes view.surface as redraw would.
// False, with view.request emptied, when the request has no surface or the surface cannot be
// made. It shows nothing, so it may run off the interface thread.
[[nodiscard]] bool composeInitialView(ComposedView& view, const DibImage& image,
                                      const ViewRequest& request);

// Redraw by copy: when ahead was composed for a surface of this size with the picture drawn at
// the same size and place as state says, copies its surface into surface and returns true.
// False leaves surface alone: compose it.
[[nodiscard]] bool copyComposedView(DibImage& surface, const ViewState& state,
                                    const ComposedView& ahead);

} // namespace velmora::image
