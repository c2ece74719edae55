#include "platform/qt/font_warm_up.h"

#include "platform/qt/japanese_font.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace velmora::platform::qt {

FontWarmUp::FontWarmUp() {
    try {
        reader_ = std::jthread([] {
            (void)FcInit();
            (void)japaneseUiFamily();
        });
    } catch (const std::system_error&) {
        // Read later, on first use.
    }
}

void FontWarmUp::finish() {
    if (reader_.joinable()) {
        reader_.join();
    }
}

} // namespace velmora::platform::qt
