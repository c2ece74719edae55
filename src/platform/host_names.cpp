#include "platform/host_names.h"

#include "util/text.h"

namespace velmora::platform {
namespace {

constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

bool isEscapedByte(char16_t unit) {
    return unit >= kFirstEscape && unit <= kLastEscape;
}

} // namespace

std::u16string deviceNameOf(std::string_view hostBytes) {
    std::u16string name;
    name.reserve(hostBytes.size());
    size_t at = 0;
    while (at < hostBytes.size()) {
        const size_t start = at;
        const auto cp = util::decodeUtf8At(hostBytes, at);
        if (cp && *cp == u'\\') {
            name.push_back(kHostBackslash);
        } else if (cp && *cp != kHostBackslash) {
            util::appendUtf16(name, *cp);
        } else {
            // Not a character, or the backslash's stand-in: each byte escaped by itself.
            at = cp ? at : start + 1;
            for (size_t i = start; i < at; ++i) {
                name.push_back(
                    static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(hostBytes[i])));
            }
        }
    }
    return name;
}

std::optional<std::string> hostNameOf(std::u16string_view deviceName) {
    std::string bytes;
    bytes.reserve(deviceName.size());
    size_t at = 0;
    while (at < deviceName.size()) {
        const char16_t unit = deviceName[at];
        if (unit == kHostBackslash) {
            bytes.push_back('\\');
            ++at;
        } else if (isEscapedByte(unit)) {
            bytes.push_back(static_cast<char>(unit - 0xDC00));
            ++at;
        } else if (const auto cp = util::decodeUtf16At(deviceName, at)) {
            util::appendUtf8(bytes, *cp);
        } else {
            return std::nullopt;
        }
    }
    // Escaped bytes that together read as a character (or a literal backslash) list as that
    // character: such a name is not the image of any host name.
    if (deviceNameOf(bytes) != deviceName) {
        return std::nullopt;
    }
    return bytes;
}

std::u16string shownName(std::u16string_view deviceName) {
    std::u16string shown(deviceName);
    for (char16_t& unit : shown) {
        if (unit == kHostBackslash) {
            unit = u'\\';
        } else if (isEscapedByte(unit)) {
            unit = u'\uFFFD';
        }
    }
    return shown;
}

std::string shortenedHostName(std::string_view name, size_t limit) {
    if (name.size() <= limit) {
        return std::string(name);
    }
    size_t cut = limit;
    for (int back = 0;
         back < 3 && cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80; ++back) {
        --cut;
    }
    return std::string(name.substr(0, cut));
}

} // namespace velmora::platform
