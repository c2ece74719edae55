// What the edit commands need from the application.
#pragma once

#include "image/loaded_image.h"

class QWidget;

namespace velmora::edit::qt {

class EditHost {
  public:
    virtual ~EditHost() = default;

    // The picture on show; edits change it in place.
    virtual image::LoadedImage& editedPicture() = 0;
    // The window the edit dialogs cover.
    virtual QWidget* dialogOwner() = 0;
    // Stops the read-ahead and frees its picture, to make room for a new one.
    virtual void dropLookAhead() = 0;
    // Shows (true) or restores (false) the wait cursor.
    virtual void setBusy(bool busy) = 0;
    // After a change of size: the picture at its own size, scrolled to the start, redrawn.
    virtual void showActualSize() = 0;
    // After a change of pixels only: redrawn at the same size and place.
    virtual void redrawPicture() = 0;
    // The picture now differs from its file.
    virtual void markModified() = 0;
    // The picture is its file's again (all edits undone).
    virtual void clearModified() = 0;
};

} // namespace velmora::edit::qt
