// Host file names are any bytes a disk holds: each must list under a device name that maps back
// to the same bytes, and a device name (as UTF-16LE) maps to host bytes only when those list
// under that very name.
#include "platform/host_names.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora::platform;
    const std::string_view host(reinterpret_cast<const char*>(data), size);
    if (hostNameOf(deviceNameOf(host)) != std::string(host)) {
        std::abort();
    }
    std::u16string device(size / 2, u'\0');
    for (size_t i = 0; i < device.size(); ++i) {
        device[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    if (const auto bytes = hostNameOf(device); bytes && deviceNameOf(*bytes) != device) {
        std::abort();
    }
    return 0;
}
