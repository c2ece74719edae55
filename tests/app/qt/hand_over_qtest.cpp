// A later start hands its picture to the running viewer over the local socket: the viewer opens
// it as a start-up picture is opened. What arrives is untrusted: anything but one well-formed
// message changes nothing.
#include "shell_sandbox.h"

#include "platform/instance_message.h"
#include "platform/qt/single_instance.h"
#include "support/scoped_environment.h"

#include <QTest>

using namespace velmora;

class HandOverTest : public QObject {
    Q_OBJECT

  private slots:
    void laterStartsMessageOpensItsPictureOrNothing_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<bool>("opens");
        const QByteArray other = "/nonexistent/b.png"; // replaced by the real path below
        QTest::newRow("a picture") << other << true;
        QTest::newRow("only come forward") << QByteArray("activate\n") << false;
        QTest::newRow("oversized") << QByteArray("open 9\n") + QByteArray(8000, '/') << false;
        QTest::newRow("length not matching") << QByteArray("open 99\n/b.png") << false;
        QTest::newRow("not a message") << QByteArray("\x01\x02garbage\n") << false;
    }
    void laterStartsMessageOpensItsPictureOrNothing() {
        QFETCH(QByteArray, message);
        QFETCH(bool, opens);
        test::TempDir runtime;
        test::ScopedEnvironment runtimeFolder("XDG_RUNTIME_DIR", runtime.path().string());
        test::ShellSandbox sandbox;
        const auto first = sandbox.writePicture("a.png", 30, 20);
        const auto second = sandbox.writePicture("other/b.png", 40, 30);
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(first));
        QVERIFY(viewer);
        const std::u16string shownFirst = viewer->navigator().currentPath();

        const QString key =
            platform::InstanceClaim::keyFor(QString::fromStdString(sandbox.config().string()));
        platform::SingleInstance running;
        QVERIFY(running.claim(key));
        connect(&running, &platform::SingleInstance::activationRequested, viewer.get(),
                &app::ViewerApp::openHandedOver);
        QSignalSpy requests(&running, &platform::SingleInstance::activationRequested);

        if (message.startsWith("/nonexistent")) {
            message = QByteArray::fromStdString(platform::composeInstanceMessage(second.string()));
        }
        platform::InstanceClaim later;
        QCOMPARE(later.claim(key, message.toStdString()),
                 platform::InstanceClaim::Outcome::Running);

        if (opens) {
            QTRY_COMPARE(viewer->navigator().currentPath(), *platform::toDevicePath(second));
            QCOMPARE(viewer->current().width(), 40);
            QCOMPARE(viewer->navigator().count(), 1);
        } else {
            QTest::qWait(300);
            QCOMPARE(viewer->navigator().currentPath(), shownFirst);
            QCOMPARE(requests.count(), message == "activate\n" ? 1 : 0);
        }
    }
};

QTEST_MAIN(HandOverTest)
#include "hand_over_qtest.moc"
