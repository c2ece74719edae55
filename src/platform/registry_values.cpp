#include "platform/registry_values.h"

namespace velmora::platform {

std::vector<uint8_t> dwordBytes(uint32_t number) {
    return {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
            static_cast<uint8_t>(number >> 16), static_cast<uint8_t>(number >> 24)};
}

std::optional<uint32_t> dwordFromBytes(std::span<const uint8_t> data) {
    if (data.size() != 4) {
        return std::nullopt;
    }
    return uint32_t{data[0]} | uint32_t{data[1]} << 8 | uint32_t{data[2]} << 16 |
           uint32_t{data[3]} << 24;
}

std::vector<uint8_t> textBytes(std::u16string_view text) {
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

std::u16string textFromBytes(std::span<const uint8_t> data) {
    std::u16string text;
    for (size_t i = 0; i < data.size(); i += 2) {
        const uint8_t high = i + 1 < data.size() ? data[i + 1] : 0;
        const auto unit = static_cast<char16_t>(data[i] | high << 8);
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    return text;
}

} // namespace velmora::platform
