#include "app/idle_memory.h"

#include "image/spare_pixels.h"

#include <QEvent>
#include <QWidget>

namespace velmora::app {
namespace {

constexpr int kIdleMs = 20'000;

bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::Gesture:
        return true;
    default:
        return false;
    }
}

} // namespace

IdleMemory::IdleMemory(QWidget& window) : QObject(&window), window_(window) {
    idle_.setSingleShot(true);
    idle_.setInterval(kIdleMs);
    connect(&idle_, &QTimer::timeout, this, [] { image::dropSparePixels(); });
    window.installEventFilter(this);
    idle_.start();
}

bool IdleMemory::eventFilter(QObject* watched, QEvent* event) {
    if (isInput(event->type())) {
        idle_.start();
    } else if (event->type() == QEvent::WindowStateChange && window_.isMinimized()) {
        image::dropSparePixels();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora::app
