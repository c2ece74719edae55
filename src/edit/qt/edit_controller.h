// The 編集 menu's commands: quarter turns, flips, resize and trim; brightness, contrast, threshold,
// grey, negative and the three filters. Each works on the host's picture in place, then redraws
// (at actual size when the size changed) and marks the picture modified. With no picture every
// command does nothing. An edit that cannot get the memory for its new picture leaves the
// picture as it was and says so.
#pragma once

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

  private:
    [[nodiscard]] bool hasPicture();
    void turn(EditResult (*operation)(image::DibImage&));
    void retouchWithValue(void (*operation)(image::DibImage&, int), const ValueRequest& request);
    void filter(bool (*operation)(image::DibImage&, const Progress&));
    // Flips and the tone edits without a value: in place under the wait cursor.
    void changePixels(void (*operation)(image::DibImage&));
    void resize();
    void trim();
    void changed(bool sizeChanged);

    EditHost& host_;
    std::unique_ptr<ProgressDialog> progress_;
};

} // namespace velmora::edit::qt
