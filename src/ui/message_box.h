// The four message-box operations and the seam that shows them.
// The program installs a Qt seam (QMessageBox); tests install an answerer that records each
// request and returns scripted answers. Without a seam (headless tools, screenshot runs), each
// request is written to stderr as one line and answered with its default button (OK or Yes; No
// for the save question, whose Yes would open the save dialog), so nothing waits for a user.
#pragma once

#include "ui/string_table.h"

#include <functional>
#include <string>

namespace velmora::ui {

// Warning is the exclamation icon of the composed load-failure box; Plain shows no icon.
enum class MessageIcon { Error, Information, Question, Warning, Plain };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

// Button identifiers returned by every operation.
inline constexpr int kButtonOk = 1;
inline constexpr int kButtonCancel = 2;
inline constexpr int kButtonYes = 6;
inline constexpr int kButtonNo = 7;

inline constexpr char16_t kCaptionError[] = u"ERROR";
inline constexpr char16_t kCaptionInfo[] = u"Infomation";
inline constexpr char16_t kCaptionQuestion[] = u"QUESTION";

struct MessageRequest {
    std::u16string text;
    std::u16string caption;
    MessageIcon icon = MessageIcon::Error;
    MessageButtons buttons = MessageButtons::Ok;
};

class MessageBoxSeam {
  public:
    virtual ~MessageBoxSeam() = default;
    // Shows the box modally and returns the pressed button identifier.
    virtual int show(const MessageRequest& request) = 0;
};

// Installs the seam (not owned; nullptr restores the stderr fallback).
void setMessageBoxSeam(MessageBoxSeam* seam);
MessageBoxSeam* messageBoxSeam();

// Runs before each of the four string-table boxes: the application leaves full-screen mode here.
void setBeforeMessageHook(std::function<void()> hook);

int showError(StringId stringId);
int showInfo(StringId stringId);
int askOkCancel(StringId stringId);
int askYesNo(StringId stringId);
// Yes, No or Cancel (Cancel also when the box is closed without a button).
int askYesNoCancel(StringId stringId);

// A composed message (the load-failure box) through the same seam. It does not run the
// before-message hook: a failed load leaves the view in full-screen mode if it was there.
int showMessage(const MessageRequest& request);

} // namespace velmora::ui
