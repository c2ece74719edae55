#include "platform/tick_count.h"

#include <chrono>

namespace velmora::platform {

namespace {

// Taken while the program starts (static initialisation).
const std::chrono::steady_clock::time_point startTime = std::chrono::steady_clock::now();

} // namespace

uint32_t tickCount() {
    const auto elapsed = std::chrono::steady_clock::now() - startTime;
    // Truncation to 32 bits is the wrap-around.
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

} // namespace velmora::platform
