#include "platform/qt/font_warm_up.h"

#include "platform/qt/japanese_font.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace velmora::platform::qt {

FontWarmUp::FontWarmUp() {
    try {
        reader_ = std::thread([] {
            (void)FcInit();
            (void)japaneseUiFamily();
        });
    } catch (const std::system_error&) {
        // Read later, on first use.
    }
}

FontWarmUp::~FontWarmUp() {
    finish();
}

void FontWarmUp::finish() {
    if (reader_.joinable()) {
        reader_.join();
    }
}

} // namespace velmora::platform::qt
