// The screen the viewer runs on: either the real QScreen under the main window, or an emulated
// handheld screen (--screen WxH[@DPI]) for which the top-level window is the whole screen.
#pragma once

#include "platform/screen.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class QWidget;

namespace velmora::platform::qt {

struct EmulatedScreen {
    int width = 240;
    int height = 320;
    int dpi = 96;
};

// Parses "WxH" or "WxH@DPI" (positive sizes up to 16384, DPI 24..960); nothing on bad text.
std::optional<EmulatedScreen> parseScreenOption(const QString& text);

// Display orientations as the handheld numbers them; a supported set is a mask of 1, 2, 4.
inline constexpr unsigned kOrientation0 = 0;
inline constexpr unsigned kOrientation90 = 1;
inline constexpr unsigned kOrientation180 = 2;
inline constexpr unsigned kOrientation270 = 4;
inline constexpr unsigned kAllTurns = kOrientation90 | kOrientation180 | kOrientation270;

// The orientation after current when turning on: a quarter turn further, skipping the ones not
// in supported, back to 0 after the last.
unsigned nextOrientation(unsigned current, unsigned supported);

class ScreenService {
  public:
    explicit ScreenService(std::optional<EmulatedScreen> emulated = std::nullopt);

    bool isEmulated() const { return emulated_.has_value(); }
    // Screen size in pixels and the work area (the screen minus the desktop's panels) of the
    // screen the window is on (the primary screen without a window).
    QSize screenSize(const QWidget* window = nullptr) const;
    QRect workArea(const QWidget* window = nullptr) const;
    ScreenMetrics metrics(const QWidget* window = nullptr) const;

    // Turns the emulated screen can take; 0 for a real screen.
    unsigned supportedOrientations() const;
    unsigned orientation() const { return orientation_; }
    // Turns an emulated screen: width and height swap when the turn changes between upright and
    // sideways; the window then sees an ordinary resize.
    void setOrientation(unsigned orientation, QWidget& window);

    // The window covers the work area (normal mode) or the whole screen (full-screen mode).
    void placeOnWorkArea(QWidget& window) const;
    void placeOnWholeScreen(QWidget& window) const;

  private:
    std::optional<EmulatedScreen> emulated_;
    unsigned orientation_ = kOrientation0;
};

} // namespace velmora::platform::qt
