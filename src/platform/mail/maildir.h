// Maildir delivery: the message is written and synced under tmp/, then renamed into new/, so
// a reader of new/ only ever sees complete messages.
#pragma once

#include "platform/mail/mime_message.h"

#include <filesystem>
#include <string_view>

namespace velmora::platform {

// Creates folder's tmp/, new/ and cur/ when missing. False (and nothing left in tmp/) when the
// message could not be written completely.
[[nodiscard]] bool deliverToMaildir(const std::filesystem::path& folder, const MimeWriter& message);
[[nodiscard]] bool deliverToMaildir(const std::filesystem::path& folder, std::string_view message);

} // namespace velmora::platform
