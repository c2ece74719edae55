// The save, copy, move and delete commands. They act on the current entry of the folder list
// and the shown image, ask and report through the message boxes, and reach the user's choices
// through two dialogs handed in as function objects (the program's are Qt dialogs).
//
// Nothing the user did not agree to lose is lost: a file that stands at a target is replaced in
// one step, a move across file systems removes its source only after a checked copy, and a
// deletion goes to the desktop trash unless the settings switch that off, and where no trash can
// take the file the user is asked before it is deleted for good.
#pragma once

#include "fileops/file_ops_host.h"
#include "fileops/save_location.h"
#include "settings/app_settings.h"

#include <functional>
#include <optional>
#include <string>

namespace velmora::fileops {

// The folder chooser: the chosen folder, or nothing when it was cancelled.
using FolderPicker = std::function<std::optional<std::u16string>()>;
// The save dialog, given the proposal: the accepted choice, or nothing when it was cancelled.
using SaveDialogRunner = std::function<std::optional<SaveChoice>(const SaveProposal&)>;

class FileCommands {
  public:
    FileCommands(FileOpsHost& host, const settings::AppSettings& settings, FolderPicker pickFolder,
                 SaveDialogRunner runSaveDialog);

    // Writes the shown image where the save dialog says (40071): the path written, or nothing
    // when nothing was written (refused, cancelled or failed; the edits then stay unsaved).
    std::optional<std::u16string> save();
    // Before the shown picture is left: when it has unsaved edits, asks whether to save them.
    // True to go on (saved, or the user drops them); false to stay (キャンセル, or the save
    // did not write).
    [[nodiscard]] bool settleUnsavedEdits();
    // Copy (40072) and move (40073) the current file into a chosen folder under its own name.
    void copy();
    void move();
    // Deletes the current file after a question (40074).
    void remove();

  private:
    // The current file and its target in the chosen folder; nothing after a refusal, a
    // cancelled chooser, a target equal to the source or a declined replacement.
    struct Transfer {
        std::u16string source;
        std::u16string target;
        bool replacing = false; // a file stands at the target and may be replaced
    };
    std::optional<Transfer> chooseTransfer();
    // For a file standing at the target: false for a folder (error shown) or a declined
    // question; true when the user agreed to replace it.
    [[nodiscard]] bool agreeToReplace(const std::u16string& target);
    // A picture read ahead from a file about to be replaced would show the old picture.
    void forgetReadAheadOf(const std::u16string& target);
    enum class Discarded { Yes, Failed, Kept };
    Discarded discard(const std::u16string& path);
    void removeCurrentEntry();

    FileOpsHost& host_;
    const settings::AppSettings& settings_;
    FolderPicker pickFolder_;
    SaveDialogRunner runSaveDialog_;
};

} // namespace velmora::fileops
