// What the save and file commands need from the application.
#pragma once

#include "browse/navigator.h"

class QWidget;

namespace velmora::fileops {

class FileOpsHost {
  public:
    virtual ~FileOpsHost() = default;

    // The folder list with its current entry, and the shown image that the save command writes.
    virtual browse::Navigator& navigator() = 0;
    // The shown image has edits that were not saved.
    [[nodiscard]] virtual bool isModified() const = 0;
    // The edits of the shown image no longer count as unsaved.
    virtual void clearModified() = 0;
    // The window the save dialog and the folder chooser are shown over.
    virtual QWidget* dialogOwner() = 0;
};

} // namespace velmora::fileops
