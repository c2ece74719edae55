// The 編集 menu's commands: quarter turns, flips, resize and trim; brightness, contrast, threshold,
// grey, negative and the three filters; undo and redo. Each works on the host's picture in place,
// then redraws (at actual size when the size changed) and marks the picture modified, or, when
// undo brings back the picture of the file, no longer modified. With no picture every command
// does nothing. An edit that cannot get the memory for its new picture leaves the picture as it
// was and says so.
#pragma once

#include "edit/edit_history.h"
#include "edit/qt/edit_host.h"
#include "edit/qt/progress_dialog.h"
#include "edit/qt/value_dialog.h"
#include "edit/transform.h"
#include "ui/command.h"

#include <memory>

namespace velmora::edit::qt {

class EditController {
  public:
    // The progress box is made here, hidden; mainWindow is the window it disables.
    EditController(EditHost& host, QWidget* mainWindow);
    ~EditController();
    EditController(const EditController&) = delete;
    EditController& operator=(const EditController&) = delete;

    // Runs an edit command; false for an identifier that is not one.
    bool onCommand(ui::Command id);

    ProgressDialog& progressDialog() { return *progress_; }

    // Another picture is shown (or none): its history starts empty.
    void pictureReplaced() { history_.clear(); }
    // The picture was written to a file: undoing from here modifies it again.
    void pictureSaved() { history_.markSaved(); }

  private:
    [[nodiscard]] bool hasPicture();
    void turn(image::TurnStep step);
    void retouchWithValue(void (*operation)(image::DibImage&, int), const ValueRequest& request);
    void filter(bool (*operation)(image::DibImage&, const Progress&));
    // Flips and the tone edits without a value: in place under the wait cursor.
    void changePixels(void (*operation)(image::DibImage&));
    void resize();
    void trim();
    // One step back (undo) or forward (redo) in the history, when there is one.
    void undoOrRedo(bool back);
    // Runs an edit that changes pixels, keeping the picture before it for undo; operation says
    // whether it changed the picture.
    template <class Operation> bool keepingUndo(Operation operation);
    void changed(bool sizeChanged);

    EditHost& host_;
    std::unique_ptr<ProgressDialog> progress_;
    EditHistory history_;
};

} // namespace velmora::edit::qt
