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

// Sets Qt's scale factor to DPI/96 for an emulated screen, so that every window, menu and
// dialog scales as that screen's DPI asks. Must run before the application object exists.
void prepareScaleFactor(const std::optional<EmulatedScreen>& emulated);

// Where a rectangle goes so that it lies inside area: moved as little as needed, and with its
// top left corner inside when it is larger than area.
QPoint placedInside(const QRect& rect, const QRect& area);

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

    [[nodiscard]] bool isEmulated() const { return emulated_.has_value(); }
    // Screen size in device pixels, and the work area (the screen minus the desktop's panels)
    // in Qt's window coordinates, of the screen the window is on (the primary screen without a
    // window).
    QSize screenSize(const QWidget* window = nullptr) const;
    QRect workArea(const QWidget* window = nullptr) const;
    // Size and DPI; the DPI of a desktop screen is 96 times its device pixel ratio.
    ScreenMetrics metrics(const QWidget* window = nullptr) const;
    // Device pixels per window coordinate.
    static qreal devicePixelRatio(const QWidget* window);

    // Turns the emulated screen can take; 0 for a real screen.
    unsigned supportedOrientations() const;
    unsigned orientation() const { return orientation_; }
    // Turns an emulated screen: width and height swap when the turn changes between upright and
    // sideways; the window then sees an ordinary resize.
    void setOrientation(unsigned orientation, QWidget& window);

    // Gives the window its normal-mode size, the work area, without showing it, so that it is
    // laid out at its final size before its first paint.
    void placeOnWorkArea(QWidget& window) const;
    // Shows the window in normal mode: maximised on a desktop, the whole emulated screen else.
    void showOnWorkArea(QWidget& window) const;
    // Full-screen mode. The window takes the screen's size at once, so that what is fitted to
    // it right after uses the full-screen surface; leaving restores the window as it was
    // (maximised, or its normal geometry).
    void placeOnWholeScreen(QWidget& window);
    void leaveWholeScreen(QWidget& window) const;
    // After a desktop window was un-maximised: its frame (title bar included) is kept on the
    // work area.
    void keepFrameOnWorkArea(QWidget& window) const;

  private:
    std::optional<EmulatedScreen> emulated_;
    unsigned orientation_ = kOrientation0;
    // The desktop window's state before full screen.
    bool wasMaximised_ = true;
    QRect normalGeometry_;
};

} // namespace velmora::platform::qt
