// Real mail delivery: the mail command hands its message to msmtp as the submission program,
// msmtp delivers it over SMTP to an aiosmtpd server this test runs on 127.0.0.1 (a free port,
// for a bounded time), and Python's email package reads what arrived.
#include "dialog_fields.h"
#include "fake_sharing_host.h"
#include "fileops/qt/mail_controller.h"
#include "support/mail_sandbox.h"
#include "support/modal_dialog.h"
#include "support/recording_message_box.h"
#include "ui/command.h"
#include "ui/string_table.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

using namespace velmora;

namespace {

constexpr char kPython[] = "/usr/bin/python3"; // Debian's, with python3-aiosmtpd
constexpr char kMsmtp[] = "/usr/bin/msmtp";
constexpr int kServerSeconds = 120;

// Stores each message as N.eml, renamed into place once complete.
constexpr char kServerScript[] = R"(
import asyncio, pathlib, sys
from aiosmtpd.smtp import SMTP

class Handler:
    def __init__(self, out):
        self.out, self.count = out, 0
    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        staged = self.out / f"{self.count}.tmp"
        staged.write_bytes(envelope.original_content or envelope.content)
        staged.rename(self.out / f"{self.count}.eml")
        return "250 OK"

async def main():
    out, seconds = pathlib.Path(sys.argv[1]), float(sys.argv[2])
    handler = Handler(out)
    server = await asyncio.get_running_loop().create_server(
        lambda: SMTP(handler), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await asyncio.sleep(seconds)
    server.close()

asyncio.run(main())
)";

// The facts of one message as JSON.
constexpr char kReaderScript[] = R"(
import email, email.policy, json, sys
message = email.message_from_bytes(open(sys.argv[1], "rb").read(), policy=email.policy.default)
to = message["To"]
print(json.dumps({
    "type": message.get_content_type(),
    "to": [a.addr_spec for a in to.addresses] if to else [],
    "subject": str(message["Subject"]),
    "dated": message["Date"] is not None and message["Date"].datetime is not None,
    "messageId": str(message["Message-ID"] or ""),
    "body": message.get_body(("plain",)).get_content(),
    "attachments": [{"name": part.get_filename(), "hex": part.get_content().hex()}
                    for part in message.iter_attachments()],
    "defects": sum(len(part.defects) for part in message.walk()),
}))
)";

} // namespace

class MailDeliveryTest : public QObject {
    Q_OBJECT

  private:
    QJsonObject readMessage(const QString& file) {
        QProcess reader;
        reader.start(QString::fromLatin1(kPython),
                     {QStringLiteral("-c"), QString::fromLatin1(kReaderScript), file});
        if (!reader.waitForFinished(30000) || reader.exitCode() != 0) {
            qWarning() << reader.readAllStandardError();
            return {};
        }
        return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    }

    // Sends through the mail dialog with the given recipient and subject texts.
    void mailWith(fileops::qt::MailController& mail, const QString& recipients,
                  const QString& subject) {
        dialogs_.onNext([=](QWidget& dialog) {
            test::setField(dialog, "edit1001", recipients);
            test::setField(dialog, "edit1002", subject);
            test::press(dialog, "okButton");
        });
        mail.onCommand(ui::Command::Mail);
    }

    test::ModalDialogDriver dialogs_;

  private slots:
    void msmtpDeliversToAnSmtpServer() {
        QVERIFY2(QFile::exists(QString::fromLatin1(kMsmtp)), "install msmtp");
        test::MailSandbox sandbox;
        test::RecordingMessageBox boxes;
        const QString received = QString::fromStdString((sandbox.mail() / "received").string());
        QVERIFY(QDir().mkpath(received));

        QProcess server;
        server.start(QString::fromLatin1(kPython),
                     {QStringLiteral("-c"), QString::fromLatin1(kServerScript), received,
                      QString::number(kServerSeconds)});
        QVERIFY2(server.waitForReadyRead(30000), "python3-aiosmtpd must be installed");
        const int port = server.readLine().trimmed().toInt();
        QVERIFY(port > 0);
        test::MailSandbox::setSendmail(
            sandbox
                .writeScript(
                    "msmtp-sendmail",
                    std::string("exec ") + kMsmtp +
                        " --file=/dev/null --host=127.0.0.1 --port=" + std::to_string(port) +
                        " --auth=off --tls=off --from=velmora@localhost \"$@\"")
                .string());

        std::string picture;
        for (int i = 0; i < 70000; ++i) {
            picture += static_cast<char>((i * 131 + i / 256) & 0xFF);
        }
        sandbox.writeFile("root/photos/旅の写真 1.png", picture);
        test::FakeSharingHost host;
        host.path = u"\\photos\\旅の写真 1.png";
        fileops::qt::MailController mail(host);

        // Three recipients; the emptied subject falls back to the file name.
        mailWith(mail, QStringLiteral("a@example.org b@example.org;c@example.org"), QString());
        // Only blanks: the dialog asks for an address, and nothing is sent.
        dialogs_.onNext([](QWidget& dialog) {
            test::setField(dialog, "edit1001", QStringLiteral("   "));
            test::press(dialog, "okButton");
            test::press(dialog, "cancelButton");
        });
        mail.onCommand(ui::Command::Mail);
        // A Japanese subject long enough for several encoded words.
        const QString japanese =
            QStringLiteral("日本語の件名：旅行の写真を送ります。よろしくお願いします");
        mailWith(mail, QStringLiteral("d@example.org"), japanese);
        server.kill();
        server.waitForFinished(5000);

        QCOMPARE(dialogs_.seen.size(), 3);
        QCOMPARE(boxes.shown.size(), size_t{1});
        QVERIFY(boxes.shown[0].text == ui::loadResourceString(ui::str::kNoRecipient));
        QCOMPARE(QDir(received).entryList({QStringLiteral("*.eml")}).size(), 2);

        const QJsonObject first = readMessage(received + QStringLiteral("/1.eml"));
        QCOMPARE(first[QStringLiteral("type")].toString(), QStringLiteral("multipart/mixed"));
        QCOMPARE(first[QStringLiteral("defects")].toInt(-1), 0);
        QCOMPARE(first[QStringLiteral("to")].toArray(),
                 (QJsonArray{QStringLiteral("a@example.org"), QStringLiteral("b@example.org"),
                             QStringLiteral("c@example.org")}));
        QCOMPARE(first[QStringLiteral("subject")].toString(), QStringLiteral("旅の写真 1.png"));
        QVERIFY(first[QStringLiteral("dated")].toBool());
        QVERIFY(first[QStringLiteral("messageId")].toString().contains(QLatin1Char('@')));
        QCOMPARE(first[QStringLiteral("body")].toString().trimmed(),
                 QStringLiteral("This mail was sent by Velmora."));
        const QJsonArray attachments = first[QStringLiteral("attachments")].toArray();
        QCOMPARE(attachments.size(), 1);
        QCOMPARE(attachments[0][QStringLiteral("name")].toString(),
                 QStringLiteral("旅の写真 1.png"));
        QCOMPARE(attachments[0][QStringLiteral("hex")].toString(),
                 QString::fromLatin1(QByteArray::fromStdString(picture).toHex()));

        const QJsonObject second = readMessage(received + QStringLiteral("/2.eml"));
        QCOMPARE(second[QStringLiteral("subject")].toString(), japanese);
        QCOMPARE(second[QStringLiteral("to")].toArray(),
                 QJsonArray{QStringLiteral("d@example.org")});
        QCOMPARE(second[QStringLiteral("defects")].toInt(-1), 0);

        QCOMPARE(sandbox.delivered("Local").size(), size_t{2});
        QVERIFY(sandbox.debugLines.empty());
    }
};

QTEST_MAIN(MailDeliveryTest)
#include "mail_delivery_qtest.moc"
