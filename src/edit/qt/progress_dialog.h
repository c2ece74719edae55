// The progress bar of the long edits: a small captionless box ("progressDialog") with one bar
// ("progress1053"), made hidden with the main window. While it shows, the main window takes no
// input, so no second edit can start from the events that step() lets through.
#pragma once

#include "edit/progress.h"

#include <QDialog>
#include <QPointer>

class QProgressBar;

namespace velmora::edit::qt {

class ProgressDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ProgressDialog(QWidget* mainWindow);

    // Disables the main window, sets the bar to 0 of 0..100 and shows the box centred on it.
    void begin();
    // Handles every pending event, then moves the bar to percent.
    void step(int percent);
    // Hides the box and enables the main window again.
    void end();

  private:
    QPointer<QWidget> mainWindow_;
    QProgressBar* bar_;
};

// One long edit's use of the box: it shows at the first progress report (so an edit that fails
// to get its memory first shows its message without it) and hides when the run ends.
class ProgressRun {
  public:
    explicit ProgressRun(ProgressDialog& dialog) : dialog_(dialog) {}
    ~ProgressRun();
    ProgressRun(const ProgressRun&) = delete;
    ProgressRun& operator=(const ProgressRun&) = delete;

    Progress callback();

  private:
    ProgressDialog& dialog_;
    bool shown_ = false;
};

} // namespace velmora::edit::qt
