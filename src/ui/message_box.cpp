#include "ui/message_box.h"

#include "ui/string_table.h"
#include "util/text.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace velmora::ui {
namespace {

MessageBoxSeam* installedSeam = nullptr;

std::function<void()>& beforeHook() {
    static std::function<void()> hook;
    return hook;
}

// Writes the box as one line (a composed text has line breaks) and gives its default answer.
int answerWithoutSeam(const MessageRequest& request) {
    std::u16string text = request.text;
    std::replace(text.begin(), text.end(), u'\n', u' ');
    std::fprintf(stderr, "%s: %s\n", util::toUtf8(request.caption).c_str(),
                 util::toUtf8(text).c_str());
    switch (request.buttons) {
    case MessageButtons::YesNo:
        return kButtonYes;
    case MessageButtons::YesNoCancel:
        return kButtonNo;
    default:
        return kButtonOk;
    }
}

int showById(StringId stringId, const char16_t* caption, MessageIcon icon, MessageButtons buttons) {
    if (beforeHook()) {
        beforeHook()();
    }
    return showMessage({loadResourceString(stringId), caption, icon, buttons});
}

} // namespace

void setMessageBoxSeam(MessageBoxSeam* seam) {
    installedSeam = seam;
}

MessageBoxSeam* messageBoxSeam() {
    return installedSeam;
}

void setBeforeMessageHook(std::function<void()> hook) {
    beforeHook() = std::move(hook);
}

int showMessage(const MessageRequest& request) {
    return installedSeam ? installedSeam->show(request) : answerWithoutSeam(request);
}

int showError(StringId stringId) {
    return showById(stringId, kCaptionError, MessageIcon::Error, MessageButtons::Ok);
}

int showInfo(StringId stringId) {
    return showById(stringId, kCaptionInfo, MessageIcon::Information, MessageButtons::Ok);
}

int askOkCancel(StringId stringId) {
    return showById(stringId, kCaptionQuestion, MessageIcon::Question, MessageButtons::OkCancel);
}

int askYesNo(StringId stringId) {
    return showById(stringId, kCaptionQuestion, MessageIcon::Question, MessageButtons::YesNo);
}

int askYesNoCancel(StringId stringId) {
    return showById(stringId, kCaptionQuestion, MessageIcon::Question, MessageButtons::YesNoCancel);
}

} // namespace velmora::ui
