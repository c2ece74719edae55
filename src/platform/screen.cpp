#include "platform/screen.h"

namespace velmora::platform {
namespace {
ScreenMetrics metrics;
}

const ScreenMetrics& screenMetrics() {
    return metrics;
}

void setScreenMetrics(const ScreenMetrics& value) {
    metrics = value;
}

} // namespace velmora::platform
