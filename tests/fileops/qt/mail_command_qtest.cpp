// The mail command through its real dialog, into Maildir stores in a sandbox: the no-file
// error, the save question, the kept recipient text and the empty-field rules.
#include "dialog_fields.h"
#include "fake_sharing_host.h"
#include "fileops/qt/mail_controller.h"
#include "platform/mail/mime_message.h"
#include "support/mail_sandbox.h"
#include "support/modal_dialog.h"
#include "support/recording_message_box.h"
#include "ui/command.h"
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
        QVERIFY(mail.onCommand(ui::Command::Mail));
        QVERIFY(!mail.onCommand(ui::Command::NetworkConnect));
        QCOMPARE(boxes.shown.size(), size_t{1});
        QVERIFY(boxes.shown[0].text == ui::loadResourceString(ui::str::kNoTargetFile));
    }

    // Yes mails the file it saved (nothing when nothing was written); No mails the stored file.
    void editedPictureIsMailedFromTheFileItWasSavedTo_data() {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("attached"); // empty: no mail dialog, nothing sent
        QTest::newRow("yes, saved") << true << ui::kButtonYes << true << "cat.jpg";
        QTest::newRow("yes, nothing written") << true << ui::kButtonYes << false << "";
        QTest::newRow("no") << true << ui::kButtonNo << false << "cat.png";
        QTest::newRow("not edited") << false << 0 << false << "cat.png";
    }
    void editedPictureIsMailedFromTheFileItWasSavedTo() {
        QFETCH(bool, modified);
        QFETCH(int, answer);
        QFETCH(bool, written);
        QFETCH(QString, attached);
        test::MailSandbox sandbox;
        sandbox.writeFile("root/photos/cat.png", "as stored");
        sandbox.writeFile("root/photos/cat.jpg", "as edited");
        test::RecordingMessageBox boxes;
        test::ModalDialogDriver dialogs;
        test::FakeSharingHost host;
        host.modified = modified;
        if (written) {
            host.savedPath = u"\\photos\\cat.jpg";
        }
        fileops::qt::MailController mail(host);

        boxes.script({answer});
        QString subject;
        dialogs.onNext([&](QWidget& dialog) {
            subject = test::fieldText(dialog, "edit1002");
            test::setField(dialog, "edit1001", QStringLiteral("a@x.org"));
            test::press(dialog, "okButton");
        });
        QVERIFY(mail.onCommand(ui::Command::Mail));
        QCOMPARE(host.saves, answer == ui::kButtonYes ? 1 : 0);
        QCOMPARE(boxes.shown.size(), size_t{modified ? 1u : 0u});
        if (modified) {
            QVERIFY(boxes.shown[0].text == ui::loadResourceString(ui::str::kSaveEdited));
            QCOMPARE(boxes.shown[0].buttons, ui::MessageButtons::YesNo);
        }
        const auto sent = sandbox.delivered("Local");
        if (attached.isEmpty()) {
            QVERIFY(dialogs.seen.isEmpty());
            QVERIFY(sent.empty());
            return;
        }
        QCOMPARE(subject, attached);
        QCOMPARE(sent.size(), size_t{1});
        const std::string name = "filename=\"" + attached.toStdString() + "\"";
        QVERIFY(sent[0].find(name) != std::string::npos);
        const std::string bytes = attached == "cat.jpg" ? "as edited" : "as stored";
        QVERIFY(sent[0].find(base64Of(QString::fromStdString(bytes))) != std::string::npos);
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
        mail.onCommand(ui::Command::Mail);
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
        mail.onCommand(ui::Command::Mail);
        QCOMPARE(offered, QStringLiteral("a@x.org b@x.org;c@x.org"));
        dialogs.onNext([&](QWidget& dialog) {
            offered = test::fieldText(dialog, "edit1001");
            test::press(dialog, "cancelButton");
        });
        mail.onCommand(ui::Command::Mail);
        QCOMPARE(offered, QStringLiteral("a@x.org b@x.org;c@x.org"));
        QCOMPARE(sandbox.delivered("Local").size(), size_t{1});
        QVERIFY(boxes.shown.empty());
    }

    // A large picture shows the progress box; a slow submission program freezes no events.
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
            test::setField(dialog, "edit1001", QStringLiteral("a@x.org"));
            test::press(dialog, "okButton");
        });
        mail.onCommand(ui::Command::Mail);
        QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks)));
        QVERIFY(progressShown);
        QCOMPARE(sandbox.delivered("Local").size(), size_t{1});
        QVERIFY(boxes.shown.empty());
    }
};

QTEST_MAIN(MailCommandTest)
#include "mail_command_qtest.moc"
