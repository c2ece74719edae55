// A message as the messaging store holds it, and the MIME text it becomes when submitted:
// multipart/mixed with a UTF-8 text body and each attachment in base64 under its file name;
// the subject encoded per RFC 2047 when it is not plain ASCII, file names per RFC 2231.
// Lines end with LF, as sendmail and Maildir expect. The text is written piece by piece, the
// attachments a block at a time, so a large picture never exists a second time in memory.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

struct AttachmentData {
    std::u16string fileName;
    uint32_t declaredSize = 0; // PR_ATTACH_SIZE: room kept for the data stream
    std::shared_ptr<std::vector<uint8_t>> bytes = std::make_shared<std::vector<uint8_t>>();
};

struct MessageData {
    std::vector<std::u16string> to; // e-mail addresses
    std::u16string subject;
    // The body as written into its stream: UTF-16LE code units.
    std::shared_ptr<std::vector<uint8_t>> body = std::make_shared<std::vector<uint8_t>>();
    std::vector<AttachmentData> attachments;
};

// What the transport adds: sender, time and a unique id (without angle brackets).
struct Envelope {
    std::string from;
    std::time_t date = 0;
    std::string messageId;
};

// Takes the message text piece by piece; false stops the writing.
using MimeSink = std::function<bool(std::string_view)>;
// What a store's transport is handed: writes the message into a sink, false when it stopped.
using MimeWriter = std::function<bool(const MimeSink&)>;

[[nodiscard]] bool writeMimeMessage(const MessageData& message, const Envelope& envelope,
                                    const MimeSink& sink);
// The whole text at once.
std::string buildMimeMessage(const MessageData& message, const Envelope& envelope);

// "user@host" of the running user, and a fresh envelope for now.
Envelope currentEnvelope();

// The host's name (no control characters), for addresses, message ids and Maildir names.
std::string localHostName();

std::string base64Encode(const uint8_t* bytes, size_t size);

} // namespace velmora::platform
