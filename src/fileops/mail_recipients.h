// The recipient text of the mail dialog split into addresses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::fileops {

// Addresses are separated by blanks or ';'; empty pieces are dropped.
std::vector<std::u16string> parseRecipients(std::u16string_view text);

} // namespace velmora::fileops
