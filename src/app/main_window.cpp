#include "app/main_window.h"

#include "app/idle_memory.h"
#include "app/input/action_table.h"
#include "app/key_mapping.h"
#include "app/viewer_app.h"
#include "app/window_title.h"
#include "image/qt/dib_painter.h"
#include "ui/qt/svg_icon.h"
#include "ui/string_table.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGestureEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QShortcut>
#include <QWheelEvent>

namespace velmora::app {
namespace {

QString programTitle() {
    return QString::fromStdU16String(ui::loadResourceString(ui::str::kTitle));
}

} // namespace

MainWindow::MainWindow(ViewerApp& app) : app_(app) {
    setObjectName(QStringLiteral("mainWindow"));
    new IdleMemory(*this); // owned by the window
    setWindowTitle(programTitle());
    // The application's icon: every window and the About dialog show it.
    QApplication::setWindowIcon(ui::svgIcon(QStringLiteral(":/velmora/velmora.svg")));
    // The window is white where the picture's surface does not reach (behind the bars); the
    // paint event fills only that, not the whole window before the surface covers it again.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::white);
    setPalette(background);
    for (const Action& action : actionTable()) {
        if (action.ctrlKey != 0) {
            addAccelerator(QKeySequence(Qt::CTRL | Qt::Key(action.ctrlKey)), action.command);
        }
        if (action.ctrlShiftKey != 0) {
            addAccelerator(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key(action.ctrlShiftKey)),
                           action.command);
        }
    }
    setFocusPolicy(Qt::StrongFocus);
    grabGesture(Qt::PinchGesture);
}

void MainWindow::addAccelerator(const QKeySequence& keys, Command command) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, [this, command] { app_.onCommand(command); });
}

void MainWindow::updatePicture() {
    // A desktop window names its picture; the handheld's title stays the program's name.
    if (!app_.screen().isEmulated()) {
        setWindowTitle(desktopWindowTitle(app_.navigator().currentPath(),
                                          app_.pictureView().state().displayWidth,
                                          app_.navigator().shownSize().width, programTitle()));
    }
    const image::DibImage& surface = app_.pictureView().surface();
    if (!surface.hasPixels()) {
        update();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    update(QRectF(0, 0, surface.width() / ratio, surface.height() / ratio).toAlignedRect());
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QImage surface = image::viewOf(app_.pictureView().surface());
    QPainter painter(this);
    QRegion uncovered = event->region();
    if (!surface.isNull()) {
        // Whole logical pixels only: a part-covered edge is filled, then drawn over.
        const qreal ratio = devicePixelRatioF();
        uncovered -= QRect(0, 0, static_cast<int>(surface.width() / ratio),
                           static_cast<int>(surface.height() / ratio));
    }
    for (const QRect& rect : uncovered) {
        painter.fillRect(rect, palette().brush(backgroundRole()));
    }
    if (!surface.isNull()) {
        // The surface holds device pixels: copied one to one, unscaled.
        surface.setDevicePixelRatio(devicePixelRatioF());
        painter.drawImage(0, 0, surface);
    }
    if (!painted_) {
        painted_ = true;
        emit firstPainted();
    }
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        app_.screen().keepFrameOnWorkArea(*this);
    }
    QWidget::changeEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent*) {
    app_.onResize();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (app_.onClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

// Every key goes to the viewer's handler; keys without a binding are dropped there, not passed on.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (const int virtualKey = virtualKeyFor(event->key()); virtualKey != 0) {
        app_.input().keyDown(virtualKey);
    }
    event->accept();
}

// Tab and Backtab never move the focus away from the picture; they reach keyPressEvent.
bool MainWindow::focusNextPrevChild(bool) {
    return false;
}

// Pen points are in the surface's device pixels.
QPoint MainWindow::devicePoint(const QMouseEvent& event) const {
    return (event.position() * devicePixelRatioF()).toPoint();
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint point = devicePoint(*event);
        app_.input().penDown(point.x(), point.y());
    }
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = devicePoint(*event);
    app_.input().penMove(point.x(), point.y());
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint point = devicePoint(*event);
        app_.input().penUp(point.x(), point.y());
    }
}

// Replaces the second press of a double tap, so it never starts a drag.
void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        app_.input().doubleTap();
    }
}

// Desktop conventions beside the handheld's: a right click opens the pop-up menu where it is.
void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse) {
        app_.showPopupMenu(event->globalPos());
    } else {
        app_.showPopupMenu();
    }
}

void MainWindow::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    app_.input().wheel(angle.x(), angle.y(), event->modifiers().testFlag(Qt::ControlModifier));
    event->accept();
}

// A pinch on a touchscreen (a gesture) or on a touchpad (a native gesture) zooms.
bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::Gesture) {
        auto* gestures = static_cast<QGestureEvent*>(event);
        if (auto* pinch = static_cast<QPinchGesture*>(gestures->gesture(Qt::PinchGesture))) {
            if (pinch->state() == Qt::GestureStarted) {
                app_.input().pinchBegan();
            }
            app_.input().pinch(pinch->totalScaleFactor());
        }
        return true;
    }
    if (event->type() == QEvent::NativeGesture) {
        auto* gesture = static_cast<QNativeGestureEvent*>(event);
        if (gesture->gestureType() == Qt::BeginNativeGesture) {
            app_.input().pinchBegan();
            touchpadScale_ = 1;
        } else if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            touchpadScale_ *= 1 + gesture->value();
            app_.input().pinch(touchpadScale_);
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace velmora::app
