#include "ui/file_info_text.h"

#include "platform/host_names.h"
#include "util/text.h"

#include <algorithm>
#include <cstdio>

namespace velmora::ui {
namespace {

constexpr char16_t kUnknown[] = u"-";

template <typename... Args> std::u16string format(const char* pattern, Args... args) {
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, pattern, args...);
    if (length < 0) {
        return {};
    }
    return util::toUtf16(std::string_view(buffer, std::min<size_t>(length, sizeof buffer - 1)));
}

std::u16string dimensionsText(int32_t width, int32_t height, int frameCount) {
    if (width < 1 || height < 1) {
        return kUnknown;
    }
    if (frameCount > 1) {
        return format("%d X %d (%d フレーム)", width, height, frameCount);
    }
    return format("%d X %d", width, height);
}

std::u16string positionText(int currentIndex, int entryCount) {
    if (entryCount < 1) {
        return u"- / -";
    }
    return format("%d / %d", currentIndex + 1, entryCount);
}

std::u16string dateText(const platform::FileTime& time) {
    return format("%02d/%02d/%02d %02d:%02d", time.year, time.month, time.day, time.hour,
                  time.minute);
}

} // namespace

FileInfoTexts formatFileInfo(const FileInfo& info) {
    if (info.path.empty()) {
        return {kUnknown, kUnknown, kUnknown, kUnknown, kUnknown, kUnknown};
    }
    // Split on the device path, then shown: a backslash inside a name is no separator, and
    // bytes a name could not decode appear as a replacement mark.
    const size_t lastSeparator = info.path.rfind(u'\\');
    FileInfoTexts texts;
    if (lastSeparator == std::u16string::npos) {
        texts.fileName = platform::shownName(info.path);
    } else {
        texts.fileName = platform::shownName(info.path.substr(lastSeparator + 1));
        texts.folder = platform::shownName(info.path.substr(0, lastSeparator + 1));
    }
    texts.dimensions = dimensionsText(info.imageWidth, info.imageHeight, info.frameCount);
    if (info.file) {
        texts.size = format("%llu Byte", static_cast<unsigned long long>(info.file->size));
        texts.modified = dateText(info.file->lastWrite);
    }
    texts.position = positionText(info.currentIndex, info.entryCount);
    return texts;
}

} // namespace velmora::ui
