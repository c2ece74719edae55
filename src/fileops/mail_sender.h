// The send routine of the mail command: one message with the picture file attached, made in
// the drafts folder of every message store and submitted there, in table order.
//
// Failures of the messaging calls are reported only on the debug output, one line
// "CEMAPI: FAILED(<code>)at <source>:<step>" each; a file that cannot be read shows kReadFailed
// and the message goes without attachment; a store row without an entry identifier shows the
// "Store missing PR_ENTRYID!" box. A store that does not take the message is named in an error
// box "メールを送信できませんでした:\n<store>". Any failure ends the loop: stores already done keep
// their message.
#pragma once

#include "platform/mail/mapi.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace velmora::fileops {

struct MailText {
    std::u16string recipients;
    std::u16string subject;
    std::u16string body;
};

inline constexpr char16_t kProposedMailBody[] = u"This mail was sent by Velmora.";

// Opens the messaging session (the platform's by default; tests give their own).
using MailLogon = std::function<platform::mapi::HResult(std::unique_ptr<platform::mapi::Session>&)>;

// Told the share of a large attachment read so far, 0 to 100.
using MailProgress = std::function<void(int percent)>;

void sendMail(const MailText& text, std::u16string_view filePath,
              const MailLogon& logon = platform::mapi::logonEx, const MailProgress& progress = {});

} // namespace velmora::fileops
