// Reading and writing a hive as registry export text ("Windows Registry Editor Version 5.00").
//
//   [HKEY_CURRENT_USER\Software\Quorrin\Velmora]
//   "XMOVE"=dword:00000020
//   "LASTCURDIR"="Pictures\\Trips\\"
//   "DATA"=hex:01,02,ff
//   "OTHER"=hex(7):41,00,00,00
//
// Strings hold exactly the value's UTF-16 code units (no terminator is added or expected);
// anything a quoted string or a dword cannot carry byte for byte is written as hex(N).
#pragma once

#include "platform/registry_hive.h"

#include <string>
#include <string_view>

namespace velmora::platform {

// Reads every well-formed key and value whose section lies under rootName; lines it cannot
// make sense of are skipped. Accepts CRLF line ends and a UTF-8 or UTF-16LE byte-order mark.
HiveData parseHiveText(std::string_view text, std::string_view rootName);

std::string formatHiveText(const HiveData& hive, std::string_view rootName);

} // namespace velmora::platform
