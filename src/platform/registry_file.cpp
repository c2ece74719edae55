#include "platform/registry_file.h"

#include "platform/registry_values.h"
#include "util/text.h"

#include <charconv>
#include <optional>

namespace velmora::platform {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr size_t kHexLineWidth = 76;
// The platform's longest key path. A longer one cannot come from a real hive, and since every
// ancestor of a key is written as its own section, a deep path would make the file written back
// grow with the square of its length.
constexpr size_t kMaxKeyPath = 255;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (isBlank(text.front()) || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (asciiLower(text[i]) != asciiLower(prefix[i])) {
            return false;
        }
    }
    return true;
}

// Brings the file to UTF-8 without a byte-order mark.
std::string toPlainUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return std::string(bytes.substr(3));
    }
    if (bytes.starts_with("\xFF\xFE")) {
        std::u16string units;
        units.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            units.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) |
                                                  static_cast<uint8_t>(bytes[i + 1]) << 8));
        }
        return util::toUtf8(units);
    }
    return std::string(bytes);
}

// A quoted text at the start of `text`; on success `text` is left after the closing quote.
// Backslash escapes a quote or a backslash; before anything else it stands for itself.
std::optional<std::string> takeQuoted(std::string_view& text) {
    if (text.empty() || text.front() != '"') {
        return std::nullopt;
    }
    std::string out;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            text.remove_prefix(i + 1);
            return out;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            ++i;
            out.push_back(text[i]);
        } else {
            out.push_back(c);
        }
    }
    return std::nullopt;
}

std::optional<uint32_t> parseHexNumber(std::string_view digits, size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) {
        return std::nullopt;
    }
    uint32_t number = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return number;
}

std::optional<std::vector<uint8_t>> parseHexBytes(std::string_view list) {
    std::vector<uint8_t> bytes;
    list = trim(list);
    if (list.empty()) {
        return bytes;
    }
    while (true) {
        const size_t comma = list.find(',');
        const auto byte = parseHexNumber(trim(list.substr(0, comma)), 2);
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<uint8_t>(*byte));
        if (comma == std::string_view::npos) {
            return bytes;
        }
        list.remove_prefix(comma + 1);
    }
}

struct ParsedValue {
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;
};

std::optional<ParsedValue> parseData(std::string_view data) {
    if (data.starts_with('"')) {
        const auto text = takeQuoted(data);
        if (!text || !trim(data).empty()) {
            return std::nullopt;
        }
        return ParsedValue{kRegSz, textBytes(util::toUtf16(*text))};
    }
    if (startsWithNoCase(data, "dword:")) {
        const auto number = parseHexNumber(trim(data.substr(6)), 8);
        if (!number) {
            return std::nullopt;
        }
        return ParsedValue{kRegDword, dwordBytes(*number)};
    }
    uint32_t type = kRegBinary;
    if (startsWithNoCase(data, "hex:")) {
        data.remove_prefix(4);
    } else if (startsWithNoCase(data, "hex(")) {
        const size_t close = data.find("):");
        const auto number = close == std::string_view::npos
                                ? std::nullopt
                                : parseHexNumber(data.substr(4, close - 4), 8);
        if (!number) {
            return std::nullopt;
        }
        type = *number;
        data.remove_prefix(close + 2);
    } else {
        return std::nullopt;
    }
    auto bytes = parseHexBytes(data);
    if (!bytes) {
        return std::nullopt;
    }
    return ParsedValue{type, std::move(*bytes)};
}

class HiveParser {
  public:
    HiveParser(std::string_view text, std::string_view rootName) : text_(text), root_(rootName) {}

    HiveData run() {
        while (auto line = nextLine()) {
            const std::string_view trimmed = trim(*line);
            if (trimmed.starts_with('[')) {
                openSection(trimmed);
            } else if (trimmed.starts_with('"') || trimmed.starts_with('@')) {
                readValue(trimmed);
            }
            // Anything else: the header, comments, blank lines, garbage.
        }
        return std::move(hive_);
    }

  private:
    std::optional<std::string_view> nextLine() {
        if (position_ >= text_.size()) {
            return std::nullopt;
        }
        const size_t end = std::min(text_.find('\n', position_), text_.size());
        const std::string_view line = text_.substr(position_, end - position_);
        position_ = end + 1;
        return line;
    }

    void openSection(std::string_view line) {
        section_.reset();
        if (!line.ends_with(']') || line.starts_with("[-")) {
            return; // a damaged header, or a deletion entry: its values go nowhere
        }
        const std::string_view path = line.substr(1, line.size() - 2);
        const std::string_view first = path.substr(0, path.find('\\'));
        if (first.size() != root_.size() || !startsWithNoCase(first, root_)) {
            return;
        }
        std::u16string key = normalizeKeyPath(util::toUtf16(path.substr(first.size())));
        if (key.size() > kMaxKeyPath) {
            return;
        }
        section_ = std::move(key);
        hive_.createKey(*section_);
    }

    void readValue(std::string_view line) {
        std::optional<std::string> name;
        if (line.starts_with('@')) {
            name.emplace();
            line.remove_prefix(1);
        } else {
            name = takeQuoted(line);
        }
        line = trim(line);
        if (!name || !line.starts_with('=')) {
            return;
        }
        std::string data(trim(line.substr(1)));
        // Hex lists continue over lines that end with a backslash.
        if (startsWithNoCase(data, "hex")) {
            while (data.ends_with('\\')) {
                data.pop_back();
                const auto next = nextLine();
                if (!next) {
                    break;
                }
                data += trim(*next);
            }
        }
        const auto value = parseData(data);
        if (section_ && value) {
            hive_.setValue(*section_, util::toUtf16(*name), value->type, std::move(value->data));
        }
    }

    std::string_view text_;
    std::string_view root_;
    size_t position_ = 0;
    std::optional<std::u16string> section_;
    HiveData hive_;
};

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            out.push_back('\\');
        }
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

// Whether a quoted string can carry these REG_SZ bytes exactly.
bool fitsQuotedText(const std::vector<uint8_t>& data) {
    if (data.size() % 2 != 0) {
        return false;
    }
    const std::u16string text = textFromBytes(data);
    if (text.size() * 2 != data.size()) {
        return false; // holds a NUL
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit < 0x20 && unit != u'\t') {
            return false;
        }
        const bool high = unit >= 0xD800 && unit < 0xDC00;
        const bool low = unit >= 0xDC00 && unit < 0xE000;
        if (low) {
            return false;
        }
        if (high) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] >= 0xE000) {
                return false;
            }
            ++i;
        }
    }
    return true;
}

std::string hexDigits(uint32_t number, int width) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    do {
        out.insert(out.begin(), kDigits[number & 0xF]);
        number >>= 4;
    } while (number != 0 || static_cast<int>(out.size()) < width);
    return out;
}

std::string formatData(const RegistryValue& value, size_t lineStart) {
    if (value.type == kRegSz && fitsQuotedText(value.data)) {
        return quoted(util::toUtf8(textFromBytes(value.data)));
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        return "dword:" + hexDigits(*dwordFromBytes(value.data), 8);
    }
    std::string out = value.type == kRegBinary ? "hex:" : "hex(" + hexDigits(value.type, 1) + "):";
    size_t column = lineStart + out.size();
    for (size_t i = 0; i < value.data.size(); ++i) {
        out += hexDigits(value.data[i], 2);
        column += 2;
        if (i + 1 < value.data.size()) {
            out.push_back(',');
            ++column;
            if (column >= kHexLineWidth) {
                out += "\\\n  ";
                column = 2;
            }
        }
    }
    return out;
}

} // namespace

HiveData parseHiveText(std::string_view text, std::string_view rootName) {
    const std::string plain = toPlainUtf8(text);
    return HiveParser(plain, rootName).run();
}

std::string formatHiveText(const HiveData& hive, std::string_view rootName) {
    std::string out(kHeader);
    out += "\n";
    for (const RegistryKeyData* key : hive.keys()) {
        if (key->path.empty() && key->values.empty()) {
            continue;
        }
        out += "\n[";
        out += rootName;
        if (!key->path.empty()) {
            out += "\\" + util::toUtf8(key->path);
        }
        out += "]\n";
        for (const RegistryValue& value : key->values) {
            const std::string name = value.name.empty() ? "@" : quoted(util::toUtf8(value.name));
            out += name + "=" + formatData(value, name.size() + 1) + "\n";
        }
    }
    return out;
}

} // namespace velmora::platform
