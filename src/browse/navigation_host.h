// What the navigation needs from the application window.
#pragma once

#include "image/view_compose.h"

namespace velmora::browse {

class NavigationHost {
  public:
    virtual ~NavigationHost() = default;

    [[nodiscard]] virtual bool isFullScreen() const = 0;
    // Hides the bars again; a fit follows the larger surface, a zoom chosen by hand is kept.
    virtual void enterFullScreen() = 0;
    // Greys or enables first/previous/next/last from the navigator's list and index.
    virtual void updateNavButtons() = 0;
    // Shows (true) or restores (false) the wait cursor around a load.
    virtual void setBusy(bool busy) = 0;
    // Another picture (or the same one read again) is about to replace the shown one: true to go
    // on, false when the user keeps the shown picture (unsaved edits not settled).
    [[nodiscard]] virtual bool mayLeavePicture() { return true; }
    // A picture is about to replace the current one: edits of the old one no longer count.
    virtual void clearModified() = 0;
    // The current image holds a newly shown picture: apply the initial zoom mode and redraw.
    virtual void imageShown() = 0;
    // The list is empty, or the current entry's picture failed to load, and the current image
    // was released: redraw the (black) view.
    virtual void viewCleared() = 0;

    // The surface size and view settings a picture shown now is composed for; a read-ahead
    // composes the following picture's view with them. A 0 x 0 surface composes nothing ahead.
    virtual image::ViewRequest viewRequest() const { return {}; }
    // As imageShown, with the view of the new picture composed ahead for viewRequest() (which
    // still holds): the redraw may copy ahead's surface instead of composing.
    virtual void imageShownComposed(const image::ComposedView& ahead) {
        static_cast<void>(ahead);
        imageShown();
    }

    // Called on the worker thread when a decode ahead has ended, whatever came of it (it may be
    // the whole picture behind a reduced first view): have Navigator::takeWholePicture called on
    // the interface thread, and touch nothing else. Without it the whole picture is taken when
    // something needs it.
    virtual void wholePictureDecoded() {}
    // The current image now holds the whole picture whose reduced view is shown, at the same
    // geometry: keep the view and draw it again, copying ahead's surface when it was composed
    // (for viewRequest()) at the view's size and place.
    virtual void wholePictureShown(const image::ComposedView* ahead) { static_cast<void>(ahead); }
};

} // namespace velmora::browse
