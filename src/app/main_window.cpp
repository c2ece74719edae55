#include "app/main_window.h"

#include "app/command_ids.h"
#include "app/viewer_app.h"
#include "image/qt/dib_painter.h"
#include "ui/string_table.h"

#include <QCloseEvent>
#include <QIcon>
#include <QPainter>
#include <QShortcut>

namespace velmora::app {

MainWindow::MainWindow(ViewerApp& app) : app_(app) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QString::fromStdU16String(ui::loadResourceString(ui::str::kTitle)));
    setWindowIcon(QIcon(QStringLiteral(":/velmora/velmora.svg")));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    addAccelerator(QKeySequence(Qt::CTRL | Qt::Key_A), kCmdAbout);
    addAccelerator(QKeySequence(Qt::CTRL | Qt::Key_Q), kCmdClose);
}

void MainWindow::addAccelerator(const QKeySequence& keys, int command) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, [this, command] { app_.onCommand(command); });
}

void MainWindow::paintEvent(QPaintEvent*) {
    const QImage surface = image::viewOf(app_.backBuffer);
    if (surface.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, surface);
}

void MainWindow::resizeEvent(QResizeEvent*) {
    app_.onResize();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    app_.onClose();
    event->accept();
}

} // namespace velmora::app
