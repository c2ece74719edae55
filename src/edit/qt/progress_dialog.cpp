#include "edit/qt/progress_dialog.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWindow>

namespace velmora::edit::qt {

// No Qt parent: a disabled parent would disable the bar with it. The application owns the box
// and keeps it above the main window as a transient window.
ProgressDialog::ProgressDialog(QWidget* mainWindow)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint), mainWindow_(mainWindow),
      bar_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("progressDialog"));
    setModal(false);
    bar_->setObjectName(QStringLiteral("progress1053"));
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    setStyleSheet(QStringLiteral("QDialog#progressDialog { border: 1px solid black; }"));
    // 170 x 40 in 1/96 inch, Qt's interface units: Qt scales them by the screen's DPI.
    resize(170, 40);
}

void ProgressDialog::begin() {
    if (mainWindow_) {
        mainWindow_->setEnabled(false);
        const QRect owner = mainWindow_->window()->geometry();
        move(owner.center() - rect().center());
        winId();
        if (QWindow* window = windowHandle()) {
            window->setTransientParent(mainWindow_->window()->windowHandle());
        }
    }
    bar_->setRange(0, 100);
    bar_->setValue(0);
    show();
}

void ProgressDialog::step(int percent) {
    QCoreApplication::processEvents();
    bar_->setValue(percent);
}

void ProgressDialog::end() {
    hide();
    if (mainWindow_) {
        mainWindow_->setEnabled(true);
    }
}

ProgressRun::~ProgressRun() {
    if (shown_) {
        dialog_.end();
    }
}

Progress ProgressRun::callback() {
    return [this](int percent) {
        if (!shown_) {
            shown_ = true;
            dialog_.begin();
        }
        dialog_.step(percent);
    };
}

} // namespace velmora::edit::qt
