// Host file names are bytes, device names UTF-16; the mapping between them is lossless, so every
// listed name opens exactly its file and a name written back is the same bytes. UTF-8 decodes as
// usual; each byte that is not part of well-formed UTF-8 becomes a lone surrogate U+DC80-U+DCFF
// (the byte plus 0xDC00), and a backslash, the device's separator, becomes kHostBackslash. The
// UTF-8 form of kHostBackslash in a host name is itself kept as three escaped bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::platform {

inline constexpr char16_t kHostBackslash = 0xF05C;

std::u16string deviceNameOf(std::string_view hostBytes);
// The host bytes of a device name; nothing when no host name maps to it (another lone
// surrogate, or escaped bytes that are well-formed UTF-8 and so would list differently).
std::optional<std::string> hostNameOf(std::u16string_view deviceName);

// A device name as the user reads it: escaped bytes shown as U+FFFD, a backslash as itself.
std::u16string shownName(std::u16string_view deviceName);

// The first bytes of a host name, at most limit, not ending inside a UTF-8 sequence: host
// names are limited to 255 bytes.
std::string shortenedHostName(std::string_view name, size_t limit);

} // namespace velmora::platform
