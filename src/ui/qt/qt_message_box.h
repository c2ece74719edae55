// The program's message-box seam: a modal QMessageBox owned by the active window, with the
// request's caption, icon and buttons, answering with the platform button identifiers.
#pragma once

#include "ui/message_box.h"

#include <QMessageBox>

namespace velmora::ui {

class QtMessageBox : public MessageBoxSeam {
  public:
    // Installs itself as the seam for its lifetime.
    QtMessageBox();
    ~QtMessageBox() override;
    QtMessageBox(const QtMessageBox&) = delete;
    QtMessageBox& operator=(const QtMessageBox&) = delete;

    int show(const MessageRequest& request) override;
};

QMessageBox::Icon toQtIcon(MessageIcon icon);

} // namespace velmora::ui
