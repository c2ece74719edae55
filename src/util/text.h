// UTF-16 / UTF-8 conversion and small text helpers shared by the core modules.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::util {

// Lossy conversions: what is not a character becomes U+FFFD.
std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

// One character of well-formed UTF-8 (no overlong form, surrogate or value past U+10FFFF) or
// UTF-16 (no lone surrogate) starting at at, which moves past it; nothing, with at unchanged,
// when the text there is not one. at must lie inside the text.
std::optional<char32_t> decodeUtf8At(std::string_view utf8, size_t& at);
std::optional<char32_t> decodeUtf16At(std::u16string_view utf16, size_t& at);
void appendUtf8(std::string& out, char32_t cp);
void appendUtf16(std::u16string& out, char32_t cp);

// ASCII-only lower-casing, enough for file-name endings.
std::u16string asciiLower(std::u16string_view text);

} // namespace velmora::util
