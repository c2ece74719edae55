#include "settings/sheet_values.h"

#include <algorithm>

namespace velmora::settings {
namespace {

constexpr int64_t kIntLimit = INT32_MAX;

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::u16string_view trimBlanks(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A part longer than two characters that starts with a quote loses its first and last one.
std::u16string_view unquote(std::u16string_view part) {
    if (part.size() > 2 && (part.front() == u'"' || part.front() == u'\'')) {
        return part.substr(1, part.size() - 2);
    }
    return part;
}

// An optional sign and the digits after it; the first other character ends the number.
// Sets complete when the digits run to the end of the text. Saturates at the int32 range.
int32_t leadingInteger(std::u16string_view text, bool& complete) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    const size_t firstDigit = pos;
    int64_t magnitude = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        magnitude = std::min(magnitude * 10 + (text[pos] - u'0'), kIntLimit + 1);
    }
    complete = pos > firstDigit && pos == text.size();
    const int64_t value = negative ? -magnitude : std::min(magnitude, kIntLimit);
    return static_cast<int32_t>(value);
}

} // namespace

std::optional<int32_t> parseAmount(std::u16string_view text) {
    bool complete = false;
    const int32_t value = leadingInteger(trimBlanks(text), complete);
    if (!complete || value < kMinAmount || value > kMaxAmount) {
        return std::nullopt;
    }
    return value;
}

int32_t stepAmount(int32_t value, int steps) {
    constexpr int64_t span = kMaxAmount - kMinAmount + 1;
    int64_t offset = (static_cast<int64_t>(value) - kMinAmount + steps) % span;
    if (offset < 0) {
        offset += span;
    }
    return static_cast<int32_t>(kMinAmount + offset);
}

std::optional<IconLocation> parseIconLocation(std::u16string_view value) {
    const size_t comma = value.find(u',');
    if (comma == std::u16string_view::npos) {
        return std::nullopt;
    }
    IconLocation location;
    location.file = std::u16string(unquote(trimBlanks(value.substr(0, comma))));
    bool complete = false;
    location.index = leadingInteger(unquote(trimBlanks(value.substr(comma + 1))), complete);
    return location;
}

} // namespace velmora::settings
