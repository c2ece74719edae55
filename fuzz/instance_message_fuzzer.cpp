// Feeds arbitrary bytes to the parser of a later start's message to the running viewer.
#include "platform/instance_message.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto request = velmora::platform::parseInstanceMessage(
        std::string_view(reinterpret_cast<const char*>(data), size));
    // What was accepted comes back unchanged through the composer.
    if (request && !request->picture.empty() &&
        velmora::platform::composeInstanceMessage(request->picture) !=
            std::string_view(reinterpret_cast<const char*>(data), size)) {
        __builtin_trap();
    }
    return 0;
}
