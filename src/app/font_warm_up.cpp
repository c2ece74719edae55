#include "app/font_warm_up.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace velmora::app {

FontWarmUp::FontWarmUp() {
    try {
        thread_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
    }
}

FontWarmUp::~FontWarmUp() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace velmora::app
