// Drives the next modal dialog a command opens: the action runs once the dialog's own event
// loop is running, and the object names of the dialogs it met are recorded. A driver that goes
// away takes its pending action with it.
#pragma once

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace velmora::test {

class ModalDialogDriver {
  public:
    ModalDialogDriver() {
        timer_.setSingleShot(true);
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                seen.push_back(dialog->objectName());
                const auto action = std::move(action_);
                action(*dialog);
            }
        });
    }

    // The next modal dialog is handed to action, which should close it.
    void onNext(std::function<void(QWidget&)> action) {
        action_ = std::move(action);
        timer_.start();
    }

    QStringList seen;

  private:
    QTimer timer_;
    std::function<void(QWidget&)> action_;
};

} // namespace velmora::test
