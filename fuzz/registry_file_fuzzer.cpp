// Hive files are user-editable text: parsing any bytes must be safe, and what the writer makes
// of the result must read back to the same values.
#include "platform/registry_file.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto hive = velmora::platform::parseHiveText(text, kRoot);
    const auto written = velmora::platform::formatHiveText(hive, kRoot);
    const auto reread = velmora::platform::parseHiveText(written, kRoot);
    if (velmora::platform::formatHiveText(reread, kRoot) != written) {
        std::abort();
    }
    return 0;
}
