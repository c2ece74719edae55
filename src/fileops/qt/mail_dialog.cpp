#include "fileops/qt/mail_dialog.h"

#include "fileops/mail_recipients.h"
#include "ui/message_box.h"
#include "ui/qt/dialog_buttons.h"
#include "ui/qt/owner_sized_dialog.h"
#include "ui/string_table.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace velmora::fileops::qt {
namespace {

constexpr int kButtonWidth = 70;
// Each field is read into a buffer of 5000 characters, terminator included.
constexpr int kFieldCharacters = 4999;

QLineEdit* lineEdit(const char* name, const std::u16string& text, QWidget* parent) {
    auto* edit = new QLineEdit(QString::fromStdU16String(text), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(kFieldCharacters);
    return edit;
}

// The field's text, or the proposed one when the field is empty.
std::u16string textOr(const QString& text, const std::u16string& proposed) {
    return text.isEmpty() ? proposed : text.left(kFieldCharacters).toStdU16String();
}

} // namespace

MailDialog::MailDialog(const MailText& proposed, QWidget* parent)
    : QDialog(parent), proposed_(proposed),
      recipients_(lineEdit("edit1001", proposed.recipients, this)),
      subject_(lineEdit("edit1002", proposed.subject, this)),
      body_(new QPlainTextEdit(QString::fromStdU16String(proposed.body), this)) {
    setObjectName(QStringLiteral("mailDialog"));
    setWindowTitle(QStringLiteral("メールボックスへ"));
    body_->setObjectName(QStringLiteral("edit1047"));
    body_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    QHBoxLayout* buttons = ui::addOkCancelRow(*this, kButtonWidth);
    buttons->addStretch(1);

    auto* note = new QLabel(QStringLiteral("画像ファイルを添付したメールを作成します。"), this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(new QLabel(QStringLiteral("宛先アドレス"), this));
    layout->addWidget(recipients_);
    layout->addWidget(new QLabel(QStringLiteral("タイトルおよび本文"), this));
    layout->addWidget(subject_);
    layout->addWidget(body_, 1);
    layout->addWidget(note);

    ui::placeOverOwner(*this);
}

MailText MailDialog::texts() const {
    return {textOr(recipients_->text(), proposed_.recipients),
            textOr(subject_->text(), proposed_.subject),
            textOr(body_->toPlainText(), proposed_.body)};
}

void MailDialog::accept() {
    if (parseRecipients(texts().recipients).empty()) {
        ui::showError(ui::str::kNoRecipient);
        recipients_->setFocus();
        return;
    }
    QDialog::accept();
}

std::optional<MailText> runMailDialog(const MailText& proposed, QWidget* parent) {
    MailDialog dialog(proposed, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.texts();
}

} // namespace velmora::fileops::qt
