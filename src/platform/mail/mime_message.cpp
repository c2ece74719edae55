#include "platform/mail/mime_message.h"

#include "platform/mail/wait_pump.h"
#include "util/text.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <pwd.h>
#include <random>
#include <unistd.h>

namespace velmora::platform {
namespace {

constexpr size_t kBase64LineLength = 76;
// An encoded word is at most 75 characters: 45 bytes give 60 base64 characters.
constexpr size_t kEncodedWordBytes = 45;
constexpr size_t kFileNamePieceLength = 60;
constexpr size_t kFoldAt = 78;

std::string utf8Of(const std::vector<uint8_t>& utf16le) {
    std::u16string text(utf16le.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(utf16le[2 * i] | (utf16le[2 * i + 1] << 8));
    }
    return util::toUtf8(text);
}

// Header text never carries control characters: a pasted line break cannot add a header.
std::string withoutControls(std::string_view text) {
    std::string clean;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            clean += c;
        }
    }
    return clean;
}

bool isPlainAscii(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E) {
            return false;
        }
    }
    return true;
}

// Encoded words of at most kEncodedWordBytes bytes each, never splitting a UTF-8 sequence.
std::string encodeSubject(const std::string& subject) {
    if (isPlainAscii(subject) && subject.find("=?") == std::string::npos && subject.size() <= 70) {
        return subject;
    }
    std::string encoded;
    size_t start = 0;
    while (start < subject.size()) {
        size_t end = std::min(subject.size(), start + kEncodedWordBytes);
        while (end < subject.size() && end > start + 1 &&
               (static_cast<unsigned char>(subject[end]) & 0xC0) == 0x80) {
            --end;
        }
        if (!encoded.empty()) {
            encoded += "\n ";
        }
        encoded +=
            "=?UTF-8?B?" +
            base64Encode(reinterpret_cast<const uint8_t*>(subject.data()) + start, end - start) +
            "?=";
        start = end;
    }
    return encoded;
}

// The single addresses of the typed ones: a text such as "a@x,b@y" holds more than one. An
// address never passes 254 octets (RFC 5321); a longer piece cannot be delivered and would make
// an over-long header line, so it is left out.
std::vector<std::string> singleAddresses(const std::vector<std::u16string>& addresses) {
    constexpr size_t kLongestAddress = 254;
    std::vector<std::string> single;
    for (const auto& address : addresses) {
        const std::string clean = withoutControls(util::toUtf8(address));
        for (size_t start = 0; start <= clean.size();) {
            const size_t comma = std::min(clean.find(',', start), clean.size());
            const std::string piece = clean.substr(start, comma - start);
            if (!piece.empty() && piece.size() <= kLongestAddress) {
                single.push_back(piece);
            }
            start = comma + 1;
        }
    }
    return single;
}

// "a, b, c", folded before an address that would pass kFoldAt, so that no line comes near the
// 998-octet limit.
std::string addressList(const std::vector<std::u16string>& addresses) {
    std::string list;
    size_t lineLength = 4; // "To: "
    for (const auto& address : singleAddresses(addresses)) {
        if (!list.empty()) {
            list += ",";
            if (lineLength + address.size() + 2 > kFoldAt) {
                list += "\n";
                lineLength = 0;
            }
            list += " ";
            ++lineLength;
        }
        list += address;
        lineLength += address.size() + 1;
    }
    return list;
}

bool isTokenChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

// filename="name" for short plain names, otherwise RFC 2231 pieces filename*0*=UTF-8''...
std::string fileNameParameter(const std::string& name) {
    if (isPlainAscii(name) && name.size() <= 60 &&
        name.find_first_of("\"\\") == std::string::npos) {
        return "filename=\"" + name + "\"";
    }
    std::vector<std::string> pieces(1);
    for (const char c : name) {
        char escaped[4];
        if (isTokenChar(c)) {
            escaped[0] = c;
            escaped[1] = '\0';
        } else {
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
        }
        if (pieces.back().size() + 3 > kFileNamePieceLength) {
            pieces.emplace_back();
        }
        pieces.back() += escaped;
    }
    std::string parameter;
    for (size_t i = 0; i < pieces.size(); ++i) {
        parameter += (i == 0 ? "" : ";\n ") + std::string("filename*") + std::to_string(i) +
                     "*=" + (i == 0 ? "UTF-8''" : "") + pieces[i];
    }
    return parameter;
}

std::string contentTypeFor(std::u16string_view fileName) {
    const auto dot = fileName.rfind(u'.');
    const std::u16string ending =
        util::asciiLower(dot == std::u16string_view::npos ? u"" : fileName.substr(dot + 1));
    static const std::pair<std::u16string_view, const char*> kTypes[] = {
        {u"jpg", "image/jpeg"},  {u"jpeg", "image/jpeg"}, {u"gif", "image/gif"},
        {u"bmp", "image/bmp"},   {u"png", "image/png"},   {u"tif", "image/tiff"},
        {u"tiff", "image/tiff"}, {u"webp", "image/webp"}, {u"avif", "image/avif"},
        {u"heic", "image/heic"}, {u"heif", "image/heif"}, {u"jxl", "image/jxl"}};
    for (const auto& [known, type] : kTypes) {
        if (ending == known) {
            return type;
        }
    }
    return "application/octet-stream";
}

void appendBase64Lines(std::string& out, const uint8_t* bytes, size_t size) {
    const std::string encoded = base64Encode(bytes, size);
    for (size_t at = 0; at < encoded.size(); at += kBase64LineLength) {
        out.append(encoded, at, kBase64LineLength);
        out += '\n';
    }
}

// Encodes a block of whole lines at a time into the sink; between blocks the waiting thread's pump
// runs, so a large attachment does not freeze the window.
bool writeBase64Lines(const std::vector<uint8_t>& bytes, const MimeSink& sink) {
    constexpr size_t kBlockBytes = kBase64LineLength / 4 * 3 * 1024;
    std::string block;
    for (size_t at = 0; at < bytes.size(); at += kBlockBytes) {
        block.clear();
        appendBase64Lines(block, bytes.data() + at, std::min(kBlockBytes, bytes.size() - at));
        if (!sink(block)) {
            return false;
        }
        pumpWhileWaiting();
    }
    return true;
}

std::string rfc5322Date(std::time_t date) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    localtime_r(&date, &local);
    const long offset = local.tm_gmtoff / 60;
    const long absolute = offset < 0 ? -offset : offset;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  kDays[local.tm_wday], local.tm_mday, kMonths[local.tm_mon], local.tm_year + 1900,
                  local.tm_hour, local.tm_min, local.tm_sec, offset < 0 ? '-' : '+', absolute / 60,
                  absolute % 60);
    return text;
}

} // namespace

std::string localHostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "localhost";
    }
    return withoutControls(name);
}

std::string base64Encode(const uint8_t* bytes, size_t size) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    for (size_t i = 0; i < size; i += 3) {
        const uint32_t a = bytes[i];
        const uint32_t b = i + 1 < size ? bytes[i + 1] : 0;
        const uint32_t c = i + 2 < size ? bytes[i + 2] : 0;
        const uint32_t triple = (a << 16) | (b << 8) | c;
        out += kAlphabet[(triple >> 18) & 63];
        out += kAlphabet[(triple >> 12) & 63];
        out += i + 1 < size ? kAlphabet[(triple >> 6) & 63] : '=';
        out += i + 2 < size ? kAlphabet[triple & 63] : '=';
    }
    return out;
}

Envelope currentEnvelope() {
    static std::atomic<unsigned> counter{0};
    static std::mt19937 random{std::random_device{}()};
    const std::string host = localHostName();
    std::string user = "velmora";
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_name != nullptr) {
        user = withoutControls(entry->pw_name);
    }
    Envelope envelope;
    envelope.from = user + "@" + host;
    envelope.date = std::time(nullptr);
    envelope.messageId = std::to_string(envelope.date) + "." + std::to_string(getpid()) + "." +
                         std::to_string(counter++) + "." + std::to_string(random()) + "@" + host;
    return envelope;
}

bool writeMimeMessage(const MessageData& message, const Envelope& envelope, const MimeSink& sink) {
    // Every part is base64, which never contains "=_": the boundary cannot occur inside.
    const std::string boundary = "=_velmora_part";
    std::string out;
    out += "From: " + envelope.from + "\n";
    const std::string to = addressList(message.to);
    if (!to.empty()) {
        out += "To: " + to + "\n";
    }
    out += "Subject: " + encodeSubject(util::toUtf8(message.subject)) + "\n";
    out += "Date: " + rfc5322Date(envelope.date) + "\n";
    out += "Message-ID: <" + withoutControls(envelope.messageId) + ">\n";
    out += "MIME-Version: 1.0\n";
    out += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\n\n";

    out += "--" + boundary + "\n";
    out += "Content-Type: text/plain; charset=UTF-8\n";
    out += "Content-Transfer-Encoding: base64\n\n";
    const std::string body = utf8Of(*message.body);
    appendBase64Lines(out, reinterpret_cast<const uint8_t*>(body.data()), body.size());

    for (const auto& attachment : message.attachments) {
        out += "--" + boundary + "\n";
        out += "Content-Type: " + contentTypeFor(attachment.fileName) + "\n";
        out += "Content-Disposition: attachment;\n " +
               fileNameParameter(withoutControls(util::toUtf8(attachment.fileName))) + "\n";
        out += "Content-Transfer-Encoding: base64\n\n";
        if (!sink(out) || !writeBase64Lines(*attachment.bytes, sink)) {
            return false;
        }
        out.clear();
    }
    out += "--" + boundary + "--\n";
    return sink(out);
}

std::string buildMimeMessage(const MessageData& message, const Envelope& envelope) {
    std::string text;
    // The sink never stops, so the whole message is written.
    (void)writeMimeMessage(message, envelope, [&text](std::string_view piece) {
        text += piece;
        return true;
    });
    return text;
}

} // namespace velmora::platform
