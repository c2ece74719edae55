#include "platform/screen.h"

#include <atomic>

namespace velmora::platform {
namespace {

int screenWidth = ScreenMetrics{}.width;
int screenHeight = ScreenMetrics{}.height;
std::atomic<int> dpiX{ScreenMetrics{}.dpiX};
std::atomic<int> dpiY{ScreenMetrics{}.dpiY};
bool handheld = ScreenMetrics{}.handheld;

} // namespace

ScreenMetrics screenMetrics() {
    return {screenWidth, screenHeight, screenDpiX(), screenDpiY(), handheld};
}

void setScreenMetrics(const ScreenMetrics& value) {
    setScreenSize(value.width, value.height);
    handheld = value.handheld;
    dpiX.store(value.dpiX, std::memory_order_relaxed);
    dpiY.store(value.dpiY, std::memory_order_relaxed);
}

void setScreenSize(int width, int height) {
    screenWidth = width;
    screenHeight = height;
}

int screenDpiX() {
    return dpiX.load(std::memory_order_relaxed);
}

int screenDpiY() {
    return dpiY.load(std::memory_order_relaxed);
}

} // namespace velmora::platform
