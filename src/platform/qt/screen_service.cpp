#include "platform/qt/screen_service.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace velmora::platform::qt {
namespace {

constexpr int kLargestSide = 16384;
constexpr int kLowestDpi = 24;
constexpr int kHighestDpi = 960;
constexpr int kDesktopDpi = 96;

const QScreen& screenOf(const QWidget* window) {
    const QScreen* screen = window != nullptr ? window->screen() : nullptr;
    return screen != nullptr ? *screen : *QGuiApplication::primaryScreen();
}

// An emulated screen's size is in device pixels; the window's size is in Qt's coordinates.
QSize windowSizeFor(const EmulatedScreen& screen, const QWidget& window) {
    const qreal ratio = ScreenService::devicePixelRatio(&window);
    return {qRound(screen.width / ratio), qRound(screen.height / ratio)};
}

bool isSideways(unsigned orientation) {
    return orientation == kOrientation90 || orientation == kOrientation270;
}

} // namespace

std::optional<EmulatedScreen> parseScreenOption(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,5})x(\\d{1,5})(?:@(\\d{1,4}))?$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    EmulatedScreen screen;
    screen.width = match.captured(1).toInt();
    screen.height = match.captured(2).toInt();
    if (match.hasCaptured(3)) {
        screen.dpi = match.captured(3).toInt();
    }
    const auto sideOk = [](int side) { return side >= 1 && side <= kLargestSide; };
    if (!sideOk(screen.width) || !sideOk(screen.height) || screen.dpi < kLowestDpi ||
        screen.dpi > kHighestDpi) {
        return std::nullopt;
    }
    return screen;
}

void prepareScaleFactor(const std::optional<EmulatedScreen>& emulated) {
    if (emulated && emulated->dpi != kDesktopDpi) {
        qputenv("QT_SCALE_FACTOR", QByteArray::number(emulated->dpi / double(kDesktopDpi)));
    }
}

QPoint placedInside(const QRect& rect, const QRect& area) {
    return {std::max(area.left(), std::min(rect.left(), area.right() + 1 - rect.width())),
            std::max(area.top(), std::min(rect.top(), area.bottom() + 1 - rect.height()))};
}

unsigned nextOrientation(unsigned current, unsigned supported) {
    unsigned candidate = current == kOrientation0 ? kOrientation90 : (current << 1) & kAllTurns;
    while (candidate != 0 && (supported & candidate) == 0) {
        candidate = (candidate << 1) & kAllTurns;
    }
    return candidate;
}

ScreenService::ScreenService(std::optional<EmulatedScreen> emulated) : emulated_(emulated) {}

qreal ScreenService::devicePixelRatio(const QWidget* window) {
    return window != nullptr ? window->devicePixelRatioF() : screenOf(window).devicePixelRatio();
}

QSize ScreenService::screenSize(const QWidget* window) const {
    if (emulated_) {
        return {emulated_->width, emulated_->height};
    }
    const QScreen& screen = screenOf(window);
    return screen.geometry().size() * screen.devicePixelRatio();
}

QRect ScreenService::workArea(const QWidget* window) const {
    if (emulated_) {
        return {QPoint(0, 0), window != nullptr ? windowSizeFor(*emulated_, *window)
                                                : QSize(emulated_->width, emulated_->height)};
    }
    return screenOf(window).availableGeometry();
}

ScreenMetrics ScreenService::metrics(const QWidget* window) const {
    const QSize size = screenSize(window);
    ScreenMetrics result;
    result.width = size.width();
    result.height = size.height();
    result.handheld = emulated_.has_value();
    if (emulated_) {
        result.dpiX = emulated_->dpi;
        result.dpiY = emulated_->dpi;
    } else {
        result.dpiX = qRound(kDesktopDpi * devicePixelRatio(window));
        result.dpiY = result.dpiX;
    }
    return result;
}

unsigned ScreenService::supportedOrientations() const {
    return emulated_ ? kAllTurns : 0;
}

void ScreenService::setOrientation(unsigned orientation, QWidget& window) {
    if (!emulated_) {
        return;
    }
    if (isSideways(orientation) != isSideways(orientation_)) {
        std::swap(emulated_->width, emulated_->height);
    }
    orientation_ = orientation;
    placeOnWorkArea(window);
}

void ScreenService::placeOnWorkArea(QWidget& window) const {
    if (emulated_) {
        window.setFixedSize(windowSizeFor(*emulated_, window));
        return;
    }
    // The frame's corner goes to the work area's corner, so that un-maximising later never
    // leaves the title bar above the screen.
    const QRect area = workArea(&window);
    window.resize(area.size());
    window.move(area.topLeft());
}

void ScreenService::showOnWorkArea(QWidget& window) const {
    if (emulated_) {
        window.show();
        return;
    }
    window.showMaximized();
}

void ScreenService::placeOnWholeScreen(QWidget& window) {
    if (emulated_) {
        window.setFixedSize(windowSizeFor(*emulated_, window));
        return;
    }
    if (!window.isFullScreen()) {
        wasMaximised_ = window.isMaximized();
        normalGeometry_ = window.geometry();
    }
    window.setGeometry(screenOf(&window).geometry());
    window.showFullScreen();
}

void ScreenService::leaveWholeScreen(QWidget& window) const {
    if (emulated_) {
        window.setFixedSize(windowSizeFor(*emulated_, window));
        return;
    }
    if (!window.isFullScreen()) {
        return;
    }
    if (wasMaximised_) {
        window.showMaximized();
    } else {
        window.showNormal();
        window.setGeometry(normalGeometry_);
    }
}

void ScreenService::keepFrameOnWorkArea(QWidget& window) const {
    if (emulated_ || window.isMaximized() || window.isFullScreen() || window.isMinimized()) {
        return;
    }
    const QRect area = workArea(&window);
    const QRect frame = window.frameGeometry();
    if (area.contains(frame)) {
        return;
    }
    const QSize frameExtra = frame.size() - window.size();
    window.resize(window.size().boundedTo(area.size() - frameExtra));
    window.move(placedInside(QRect(frame.topLeft(), window.size() + frameExtra), area));
}

} // namespace velmora::platform::qt
