// What the mail and network commands need from the application window.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace velmora::fileops::qt {

class SharingHost {
  public:
    virtual ~SharingHost() = default;

    // Device path of the current list entry; empty when the index is outside the list.
    virtual std::u16string currentFilePath() const = 0;
    // The shown picture has edits that were not saved.
    [[nodiscard]] virtual bool isModified() const = 0;
    // Runs the save command (40071) as its menu item does: the path written, or nothing when
    // nothing was written.
    virtual std::optional<std::u16string> runSaveCommand() = 0;
    // Shows (true) or restores (false) the wait cursor around a long operation.
    virtual void setBusy(bool busy) = 0;
    // The window the dialogs belong to.
    virtual QWidget* dialogOwner() = 0;
};

} // namespace velmora::fileops::qt
