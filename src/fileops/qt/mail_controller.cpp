#include "fileops/qt/mail_controller.h"

#include "edit/qt/progress_dialog.h"
#include "fileops/mail_sender.h"
#include "fileops/qt/mail_dialog.h"
#include "platform/device_fs.h"
#include "platform/qt/wait_pump_scope.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

namespace velmora::fileops::qt {

bool MailController::onCommand(ui::Command id) {
    if (id != ui::Command::Mail) {
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
    {
        // A large picture shows the progress box while it is read; the window keeps painting
        // while the message is encoded and handed to the stores.
        edit::qt::ProgressDialog progressBox(host_.dialogOwner());
        edit::qt::ProgressRun progress(progressBox);
        const platform::qt::WaitPumpScope painting;
        sendMail(*accepted, path, platform::mapi::logonEx, progress.callback());
    }
    host_.setBusy(false);
}

} // namespace velmora::fileops::qt
