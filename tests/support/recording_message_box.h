// A message-box seam for tests: records every request and answers from a script.
#pragma once

#include "ui/message_box.h"

#include <deque>
#include <vector>

namespace velmora::test {

class RecordingMessageBox : public ui::MessageBoxSeam {
  public:
    RecordingMessageBox() { ui::setMessageBoxSeam(this); }
    ~RecordingMessageBox() override { ui::setMessageBoxSeam(nullptr); }

    // Answers given in order; when the script is empty the first button is pressed, except that
    // the save question is answered No (Yes would open a save dialog that nobody closes).
    void script(std::initializer_list<int> answers) { answers_.insert(answers_.end(), answers); }

    int show(const ui::MessageRequest& request) override;

    std::vector<ui::MessageRequest> shown;

  private:
    std::deque<int> answers_;
};

} // namespace velmora::test
