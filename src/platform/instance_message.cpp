#include "platform/instance_message.h"

namespace velmora::platform {
namespace {

constexpr std::string_view kActivate = "activate\n";
constexpr std::string_view kOpen = "open ";
constexpr size_t kMaxLengthDigits = 4;

bool isCarriedPath(std::string_view path) {
    return !path.empty() && path.size() <= kMaxHandOverPath && path.front() == '/' &&
           path.find('\0') == std::string_view::npos;
}

} // namespace

std::string composeInstanceMessage(std::string_view picture) {
    if (!isCarriedPath(picture)) {
        return std::string(kActivate);
    }
    std::string message(kOpen);
    message += std::to_string(picture.size());
    message += '\n';
    message += picture;
    return message;
}

std::optional<InstanceRequest> parseInstanceMessage(std::string_view message) {
    if (message.size() > kMaxInstanceMessage) {
        return std::nullopt;
    }
    if (message == kActivate) {
        return InstanceRequest{};
    }
    if (!message.starts_with(kOpen)) {
        return std::nullopt;
    }
    message.remove_prefix(kOpen.size());
    const size_t newline = message.find('\n');
    if (newline == std::string_view::npos || newline == 0 || newline > kMaxLengthDigits ||
        message.front() == '0') {
        return std::nullopt;
    }
    size_t length = 0;
    for (const char digit : message.substr(0, newline)) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        length = length * 10 + static_cast<size_t>(digit - '0');
    }
    const std::string_view path = message.substr(newline + 1);
    if (path.size() != length || !isCarriedPath(path)) {
        return std::nullopt;
    }
    return InstanceRequest{std::string(path)};
}

} // namespace velmora::platform
