#include "platform/mail/wait_pump.h"

namespace velmora::platform {
namespace {

std::function<void()>& installedPump() {
    static std::function<void()> pump;
    return pump;
}

} // namespace

void setWaitPump(std::function<void()> pump) {
    installedPump() = std::move(pump);
}

void pumpWhileWaiting() {
    if (installedPump()) {
        installedPump()();
    }
}

} // namespace velmora::platform
