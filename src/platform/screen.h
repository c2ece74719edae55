// Screen facts read once by the main window and used by layouts and default settings.
#pragma once

namespace velmora::platform {

struct ScreenMetrics {
    int width = 240; // whole screen, pixels
    int height = 320;
    int dpiX = 96;
    int dpiY = 96;
};

// The process-wide screen facts; the Qt shell sets them when the main window is created.
const ScreenMetrics& screenMetrics();
void setScreenMetrics(const ScreenMetrics& metrics);

inline int screenDpiX() {
    return screenMetrics().dpiX;
}
inline int screenDpiY() {
    return screenMetrics().dpiY;
}

// Converts a length written for 96 pixels per inch to the screen's device pixels: for what is
// drawn into a DibImage. Qt widgets are laid out with their 96-DPI lengths as they stand; Qt
// scales them by the same DPI (its scale factor is DPI/96).
inline int scaleX(int v) {
    return (v * screenDpiX() + 48) / 96;
}
inline int scaleY(int v) {
    return (v * screenDpiY() + 48) / 96;
}

} // namespace velmora::platform
