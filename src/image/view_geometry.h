// ViewGeometry: the zoom modes, zoom steps, scrolling and seeking of the view, as arithmetic on a
// ViewState for one image size and one surface size. Nothing here draws: an operation that
// changes what is shown tells the caller to compose the surface again (see view_compose.h).
//
// Typical use from a command handler:
//     ViewGeometry view(state, imageSize, surfaceSize, options);
//     view.fitWhole();
//     redraw();
// Construct a new ViewGeometry whenever the image or the surface changes size.
#pragma once

#include "image/view_state.h"

#include <cstdint>

namespace velmora::image {

// Direction in which the view moves over the image: Left reveals more of the image's left part.
enum class MoveDirection { Left, Right, Up, Down };

// What a seek step asks of the caller.
enum class [[nodiscard]] SeekResult{
    Moved,        // the view moved within the image: redraw
    ShowNext,     // the end of the image was reached: show the next picture
    ShowPrevious, // the start was reached: show the previous picture, then showReadingEnd()
};

class ViewGeometry {
  public:
    ViewGeometry(ViewState& state, ViewSize image, ViewSize surface, const ViewOptions& options);

    // Larger than the surface in that direction (strictly).
    [[nodiscard]] bool wider() const;
    [[nodiscard]] bool taller() const;

    // Places the image by placement and remembers that place as the saved origin.
    void resetOrigin();
    // Keeps the origin inside the scroll range; an image not larger than the surface in a
    // direction is placed by placement. The saved origin is left alone.
    void clampOrigin();

    // The operations below always change what is shown: redraw after each.
    void applyInitialZoom(); // by initialZoom
    // 1:1. With restore, returns to the saved origin (clamped); otherwise resetOrigin.
    void showOriginalSize(bool restore);
    // The fits never enlarge: an image that already fits is shown at original size.
    void fitWhole();
    void fitWidth();
    void fitHeight();
    void autoFit(); // covers the surface in both directions
    // The surface changed size: the view's fit is applied again for it; a size chosen by hand
    // is kept and the image placed by resetOrigin.
    void refit();
    // Fit whole (or auto fit) <-> original size; coming back restores the scroll position.
    void toggleWholeOriginal();
    void toggleAutoFitOriginal();

    // Scale +/- 0.1 about the surface centre, kept within 0.2 .. 3.0. False (nothing changed,
    // no redraw) when there is no image.
    [[nodiscard]] bool zoomIn();
    [[nodiscard]] bool zoomOut();

    // Scrolls by amount pixels. False (nothing changed, no redraw) when the image is not larger
    // than the surface in that direction.
    [[nodiscard]] bool moveView(MoveDirection direction, int32_t amount);

    // One screen step in reading order (seekOrder, placement, seekStepX, seekStepY).
    SeekResult seekForward();
    SeekResult seekBackward();
    // After the caller has handled ShowPrevious (whether or not another picture was loaded),
    // shows the last screen of the current image in reading order; then redraw. Construct the
    // ViewGeometry with the size of the image now shown.
    void showReadingEnd();

  private:
    // Place of an image not larger than the surface, by placement, for the current display size.
    int32_t horizontalPlace() const;
    int32_t verticalPlace() const;
    void toggleOriginalWith(void (ViewGeometry::*fit)());
    // Applies a fit and remembers it as the one the view follows.
    void follow(FitMode fit);
    void placeWhole();
    void placeWidth();
    void placeHeight();
    void placeAuto();
    [[nodiscard]] bool zoomBy(double step);
    // Moves and tells whether the origin changed in that direction.
    [[nodiscard]] bool moved(MoveDirection direction, int32_t amount);

    ViewState& state_;
    ViewSize image_;
    ViewSize surface_;
    ViewOptions options_;
};

} // namespace velmora::image
