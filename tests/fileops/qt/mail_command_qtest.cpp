// The mail command through its real dialog, into Maildir stores in a sandbox: the no-file
// error, the save question, the kept recipient text and the empty-field rules.
#include "dialog_fields.h"
#include "fake_sharing_host.h"
#include "fileops/command_ids.h"
#include "fileops/qt/mail_controller.h"
#include "platform/mail/mime_message.h"
#include "support/mail_sandbox.h"
#include "support/modal_dialog.h"
#include "support/recording_message_box.h"
#include "ui/string_table.h"

#include <QApplication>
#include <QTimer>
#include <QtTest>

using namespace velmora;

namespace {

std::string base64Of(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return platform::base64Encode(reinterpret_cast<const uint8_t*>(utf8.data()),
                                  static_cast<size_t>(utf8.size()));
}

} // namespace

class MailCommandTest : public QObject {
    Q_OBJECT

  private slots:
    void withoutCurrentFileShowsTheNoTargetError() {
        test::MailSandbox sandbox;
        test::RecordingMessageBox boxes;
        test::FakeSharingHost host;
        host.path.clear();
        fileops::qt::MailController mail(host);
        QVERIFY(mail.onCommand(fileops::kCmdMail));
        QVERIFY(!mail.onCommand(fileops::kCmdNetworkConnect));
        QCOMPARE(boxes.shown.size(), size_t{1});
        QVERIFY(boxes.shown[0].text == ui::loadResourceString(ui::str::kNoTargetFile));
    }

    void editedPictureAnsweredYesIsSavedInsteadOfMailed() {
        test::MailSandbox sandbox;
        sandbox.writeFile("root/photos/cat.png", "picture");
        test::RecordingMessageBox boxes;
        test::ModalDialogDriver dialogs;
        test::FakeSharingHost host;
        host.modified = true;
        fileops::qt::MailController mail(host);

        boxes.script({ui::kButtonYes});
        mail.onCommand(fileops::kCmdMail);
        QCOMPARE(host.saves, 1);
        QVERIFY(dialogs.seen.isEmpty());
        QVERIFY(sandbox.delivered("Local").empty());
        QVERIFY(boxes.shown.at(0).text == ui::loadResourceString(ui::str::kSaveEdited));
        QCOMPARE(boxes.shown.at(0).buttons, ui::MessageButtons::YesNo);

        // No: the file as stored goes out.
        boxes.script({ui::kButtonNo});
        dialogs.onNext([](QWidget& dialog) { test::press(dialog, "okButton"); });
        mail.onCommand(fileops::kCmdMail);
        QCOMPARE(host.saves, 1);
        QCOMPARE(dialogs.seen, QStringList{QStringLiteral("mailDialog")});
        QCOMPARE(sandbox.delivered("Local").size(), size_t{1});
    }

    void recipientTextIsKeptAndEmptyFieldsFallBackToTheProposal() {
        test::MailSandbox sandbox;
        sandbox.writeFile("root/photos/cat.png", "picture");
        test::RecordingMessageBox boxes;
        test::ModalDialogDriver dialogs;
        test::FakeSharingHost host;
        fileops::qt::MailController mail(host);

        QString recipients, subject, body;
        QSize size;
        dialogs.onNext([&](QWidget& dialog) {
            size = dialog.size();
            recipients = test::fieldText(dialog, "edit1001");
            subject = test::fieldText(dialog, "edit1002");
            body = test::fieldText(dialog, "edit1047");
            test::setField(dialog, "edit1001", QStringLiteral("a@x.org b@x.org;c@x.org"));
            test::setField(dialog, "edit1002", QString());
            test::setField(dialog, "edit1047", QString());
            test::press(dialog, "okButton");
        });
        mail.onCommand(fileops::kCmdMail);
        QCOMPARE(size, host.window.size());
        QCOMPARE(recipients, QString());
        QCOMPARE(subject, QStringLiteral("cat.png"));
        QCOMPARE(body, QStringLiteral("This mail was sent by Velmora."));
        const auto sent = sandbox.delivered("Local");
        QCOMPARE(sent.size(), size_t{1});
        QVERIFY(sent[0].find("\nTo: a@x.org, b@x.org, c@x.org\n") != std::string::npos);
        QVERIFY(sent[0].find("\nSubject: cat.png\n") != std::string::npos);
        QVERIFY(sent[0].find(base64Of(body)) != std::string::npos);

        // Offered again; a cancelled dialog keeps it and sends nothing.
        QString offered;
        dialogs.onNext([&](QWidget& dialog) {
            offered = test::fieldText(dialog, "edit1001");
            test::setField(dialog, "edit1001", QStringLiteral("other@x.org"));
            test::press(dialog, "cancelButton");
        });
        mail.onCommand(fileops::kCmdMail);
        QCOMPARE(offered, QStringLiteral("a@x.org b@x.org;c@x.org"));
        dialogs.onNext([&](QWidget& dialog) {
            offered = test::fieldText(dialog, "edit1001");
            test::press(dialog, "cancelButton");
        });
        mail.onCommand(fileops::kCmdMail);
        QCOMPARE(offered, QStringLiteral("a@x.org b@x.org;c@x.org"));
        QCOMPARE(sandbox.delivered("Local").size(), size_t{1});
        QVERIFY(boxes.shown.empty());
    }

    // While a large picture is read the progress box shows, and while the submission program
    // takes its time the window's events keep running: nothing freezes.
    void aSlowSubmissionKeepsTheWindowAlive() {
        test::MailSandbox sandbox;
        test::MailSandbox::setSendmail(
            sandbox.writeScript("sendmail", "cat > /dev/null; sleep 1").string());
        sandbox.writeFile("root/photos/cat.png", std::string(6u << 20, 'p'));
        test::RecordingMessageBox boxes;
        test::ModalDialogDriver dialogs;
        test::FakeSharingHost host;
        fileops::qt::MailController mail(host);

        int ticks = 0;
        bool progressShown = false;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            ++ticks;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                progressShown |=
                    widget->objectName() == QLatin1String("progressDialog") && widget->isVisible();
            }
        });
        dialogs.onNext([&](QWidget& dialog) {
            timer.start(20);
            test::press(dialog, "okButton");
        });
        mail.onCommand(fileops::kCmdMail);
        QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks)));
        QVERIFY(progressShown);
        QCOMPARE(sandbox.delivered("Local").size(), size_t{1});
        QVERIFY(boxes.shown.empty());
    }
};

QTEST_MAIN(MailCommandTest)
#include "mail_command_qtest.moc"
