// The mail dialog (139, "メールボックスへ"): recipient address ("edit1001"), subject
// ("edit1002") and body ("edit1047"), with OK ("okButton") and キャンセル ("cancelButton") at
// the top, covering the owner's window.
#pragma once

#include "fileops/mail_sender.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QPlainTextEdit;

namespace velmora::fileops::qt {

class MailDialog : public QDialog {
    Q_OBJECT
  public:
    MailDialog(const MailText& proposed, QWidget* parent);

    // The three texts after OK: a field left empty keeps the proposed text.
    MailText texts() const;
    // OK: refused, with a request for an address, while the recipient text names none.
    void accept() override;

  private:
    MailText proposed_;
    QLineEdit* recipients_;
    QLineEdit* subject_;
    QPlainTextEdit* body_;
};

// Runs the dialog modally; the texts after OK, nothing after cancel.
std::optional<MailText> runMailDialog(const MailText& proposed, QWidget* parent);

} // namespace velmora::fileops::qt
