// The mail command (40080): the picture file of the current entry attached to a message made
// in every message store. An edited picture is offered for saving first, and a saved picture is
// mailed from the file it was saved to; the recipient text typed last is offered again for the
// rest of the run.
#pragma once

#include "fileops/qt/sharing_host.h"
#include "ui/command.h"

#include <string>

namespace velmora::fileops::qt {

class MailController {
  public:
    explicit MailController(SharingHost& host) : host_(host) {}

    // Runs the mail command; false for any other identifier.
    bool onCommand(ui::Command id);

  private:
    void mail();

    SharingHost& host_;
    std::u16string recipients_;
};

} // namespace velmora::fileops::qt
