#include "util/text.h"

namespace velmora::util {

std::optional<char32_t> decodeUtf8At(std::string_view utf8, size_t& at) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    char32_t cp = 0;
    size_t len = 0;
    if (lead < 0x80) {
        len = 1;
        cp = lead;
    } else if ((lead >> 5) == 0x6) {
        len = 2;
        cp = lead & 0x1F;
    } else if ((lead >> 4) == 0xE) {
        len = 3;
        cp = lead & 0x0F;
    } else if ((lead >> 3) == 0x1E) {
        len = 4;
        cp = lead & 0x07;
    }
    if (len == 0 || at + len > utf8.size()) {
        return std::nullopt; // stray continuation, invalid lead byte or a cut-off sequence
    }
    for (size_t k = 1; k < len; ++k) {
        const auto next = static_cast<unsigned char>(utf8[at + k]);
        if ((next >> 6) != 0x2) {
            return std::nullopt;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    // Overlong forms (such as C0 8A for a line feed), surrogates and values past U+10FFFF
    // are not characters: they would let hidden control characters through.
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
        return std::nullopt;
    }
    at += len;
    return cp;
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

std::optional<char32_t> decodeUtf16At(std::u16string_view utf16, size_t& at) {
    const char32_t unit = utf16[at];
    if (unit >= 0xD800 && unit < 0xDC00 && at + 1 < utf16.size() && utf16[at + 1] >= 0xDC00 &&
        utf16[at + 1] < 0xE000) {
        const char32_t cp = 0x10000 + ((unit - 0xD800) << 10) + (utf16[at + 1] - 0xDC00);
        at += 2;
        return cp;
    }
    if (unit >= 0xD800 && unit < 0xE000) {
        return std::nullopt; // a lone surrogate
    }
    ++at;
    return unit;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        if (const auto cp = decodeUtf8At(utf8, i)) {
            appendUtf16(out, *cp);
        } else {
            out.push_back(u'\uFFFD');
            ++i;
        }
    }
    return out;
}

std::string toUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    size_t i = 0;
    while (i < utf16.size()) {
        if (const auto cp = decodeUtf16At(utf16, i)) {
            appendUtf8(out, *cp);
        } else {
            appendUtf8(out, 0xFFFD);
            ++i;
        }
    }
    return out;
}

std::u16string asciiLower(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return out;
}

} // namespace velmora::util
