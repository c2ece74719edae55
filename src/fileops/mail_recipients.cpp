#include "fileops/mail_recipients.h"

namespace velmora::fileops {

std::vector<std::u16string> parseRecipients(std::u16string_view text) {
    std::vector<std::u16string> addresses;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find_first_of(u" ;", at), text.size());
        if (end > at) {
            addresses.emplace_back(text.substr(at, end - at));
        }
        at = end + 1;
    }
    return addresses;
}

} // namespace velmora::fileops
