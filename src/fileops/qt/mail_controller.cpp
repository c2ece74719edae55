#include "fileops/qt/mail_controller.h"

#include "fileops/command_ids.h"
#include "fileops/mail_sender.h"
#include "fileops/qt/mail_dialog.h"
#include "platform/device_fs.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

namespace velmora::fileops::qt {

bool MailController::onCommand(int id) {
    if (id != kCmdMail) {
        return false;
    }
    mail();
    return true;
}

void MailController::mail() {
    std::u16string path = host_.currentFilePath();
    if (path.empty()) {
        ui::showError(ui::str::kNoTargetFile);
        return;
    }
    // The file on disk is what goes out: edits are saved first when the user wants them, and
    // then the saved file is attached.
    if (host_.isModified() && ui::askYesNo(ui::str::kSaveEdited) == ui::kButtonYes) {
        auto saved = host_.runSaveCommand();
        if (!saved) {
            return;
        }
        path = std::move(*saved);
    }
    const MailText proposed{recipients_, platform::fileNamePart(path), kProposedMailBody};
    const auto accepted = runMailDialog(proposed, host_.dialogOwner());
    if (!accepted) {
        return;
    }
    recipients_ = accepted->recipients;
    host_.setBusy(true);
    sendMail(*accepted, path);
    host_.setBusy(false);
}

} // namespace velmora::fileops::qt
