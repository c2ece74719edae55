#include "platform/qt/screen_service.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>

#include <utility>

namespace velmora::platform::qt {
namespace {

constexpr int kLargestSide = 16384;
constexpr int kLowestDpi = 24;
constexpr int kHighestDpi = 960;

const QScreen& screenOf(const QWidget* window) {
    const QScreen* screen = window != nullptr ? window->screen() : nullptr;
    return screen != nullptr ? *screen : *QGuiApplication::primaryScreen();
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

unsigned nextOrientation(unsigned current, unsigned supported) {
    unsigned candidate = current == kOrientation0 ? kOrientation90 : (current << 1) & kAllTurns;
    while (candidate != 0 && (supported & candidate) == 0) {
        candidate = (candidate << 1) & kAllTurns;
    }
    return candidate;
}

ScreenService::ScreenService(std::optional<EmulatedScreen> emulated) : emulated_(emulated) {}

QSize ScreenService::screenSize(const QWidget* window) const {
    if (emulated_) {
        return {emulated_->width, emulated_->height};
    }
    return screenOf(window).geometry().size();
}

QRect ScreenService::workArea(const QWidget* window) const {
    if (emulated_) {
        return {QPoint(0, 0), screenSize(window)};
    }
    return screenOf(window).availableGeometry();
}

ScreenMetrics ScreenService::metrics(const QWidget* window) const {
    const QSize size = screenSize(window);
    ScreenMetrics result;
    result.width = size.width();
    result.height = size.height();
    if (emulated_) {
        result.dpiX = emulated_->dpi;
        result.dpiY = emulated_->dpi;
    } else {
        result.dpiX = qRound(screenOf(window).logicalDotsPerInchX());
        result.dpiY = qRound(screenOf(window).logicalDotsPerInchY());
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
        window.setFixedSize(emulated_->width, emulated_->height);
        return;
    }
    window.setGeometry(workArea(&window));
    window.showMaximized();
}

void ScreenService::placeOnWholeScreen(QWidget& window) const {
    if (emulated_) {
        window.setFixedSize(emulated_->width, emulated_->height);
        return;
    }
    window.showFullScreen();
}

} // namespace velmora::platform::qt
