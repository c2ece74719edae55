#include "app/startup_path.h"

#include "platform/device_fs.h"
#include "util/text.h"

namespace velmora::app {
namespace {

constexpr size_t kShortestQuoted = 3;

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

void dropFront(std::u16string& text, char16_t c) {
    if (!text.empty() && text.front() == c) {
        text.erase(0, 1);
    }
}

void dropBack(std::u16string& text, char16_t c) {
    if (!text.empty() && text.back() == c) {
        text.pop_back();
    }
}

} // namespace

std::u16string trimAndUnquote(std::u16string_view commandLine) {
    size_t begin = 0;
    size_t end = commandLine.size();
    while (begin < end && isBlank(commandLine[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(commandLine[end - 1])) {
        --end;
    }
    std::u16string text(commandLine.substr(begin, end - begin));
    if (text.size() >= kShortestQuoted) {
        dropFront(text, u'"');
        dropFront(text, u'\'');
        if (text.size() >= kShortestQuoted) {
            dropBack(text, u'"');
            dropBack(text, u'\'');
        }
    }
    return text;
}

std::optional<std::u16string> startupDevicePath(std::u16string_view hostPath) {
    if (hostPath.empty()) {
        return std::nullopt;
    }
    return platform::toDevicePath(std::filesystem::path(util::toUtf8(hostPath)));
}

} // namespace velmora::app
