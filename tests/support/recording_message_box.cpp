#include "support/recording_message_box.h"

namespace velmora::test {

int RecordingMessageBox::show(const ui::MessageRequest& request) {
    shown.push_back(request);
    if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    switch (request.buttons) {
    case ui::MessageButtons::YesNo:
        return ui::kButtonYes;
    case ui::MessageButtons::YesNoCancel:
        return ui::kButtonNo;
    default:
        return ui::kButtonOk;
    }
}

} // namespace velmora::test
