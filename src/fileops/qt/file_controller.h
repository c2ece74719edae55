// The save and file commands of the file menu: save (40071) through the save dialog, and copy
// (40072), move (40073) and delete (40074) of the current file, with the folder chooser for the
// destination.
#pragma once

#include "fileops/file_commands.h"
#include "fileops/file_ops_host.h"
#include "settings/app_settings.h"
#include "ui/command.h"

namespace velmora::fileops::qt {

class FileController {
  public:
    FileController(FileOpsHost& host, const settings::AppSettings& settings);

    // Runs a save or file command; false for an identifier that is not one.
    bool onCommand(ui::Command id);
    // The save command; the path written, or nothing.
    std::optional<std::u16string> save() { return commands_.save(); }
    // Asks about unsaved edits before the shown picture is left; false: stay.
    [[nodiscard]] bool settleUnsavedEdits() { return commands_.settleUnsavedEdits(); }

  private:
    FileCommands commands_;
};

} // namespace velmora::fileops::qt
