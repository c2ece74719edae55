// Screen facts for what is drawn and laid out outside a window: boxes, dialogs and thumbnails.
//
// Threads: the size belongs to the interface thread, which changes it when the screen turns.
// The pixels per inch are read once at start-up and never change with a turn; any thread may
// read them.
#pragma once

namespace velmora::platform {

struct ScreenMetrics {
    int width = 240; // whole screen, pixels
    int height = 320;
    int dpiX = 96;
    int dpiY = 96;
    // An emulated handheld screen (--screen): dialogs cover the main window, as on the handheld.
    // False on a desktop screen.
    bool handheld = true;
};

// The process-wide screen facts. setScreenMetrics is called once, when the main window is
// created; a turn of the screen changes only the size, through setScreenSize.
ScreenMetrics screenMetrics();
void setScreenMetrics(const ScreenMetrics& metrics);
void setScreenSize(int width, int height);

int screenDpiX();
int screenDpiY();

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
