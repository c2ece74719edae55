// A later start hands its picture to the running viewer over the local socket, which opens it as
// a start-up picture. What arrives is untrusted: anything but one well-formed message is ignored.
#include "shell_sandbox.h"

#include "platform/qt/single_instance.h"
#include "support/scoped_environment.h"

#include <QTest>

using namespace velmora;

class HandOverTest : public QObject {
    Q_OBJECT

  private slots:
    void laterStartsMessageOpensItsPictureOrNothing() {
        test::TempDir runtime;
        test::ScopedEnvironment runtimeFolder("XDG_RUNTIME_DIR", runtime.path().string());
        test::ShellSandbox sandbox;
        const auto first = sandbox.writePicture("a.png", 30, 20);
        const auto second = sandbox.writePicture("other/b.png", 40, 30);
        const struct {
            const char* name;
            std::string message;
            bool opens;
        } cases[] = {
            {"only come forward", "activate\n", false},
            {"oversized", "open 9\n" + std::string(8000, '/'), false},
            {"length not matching", "open 99\n" + second.string(), false},
            {"not a message", "\x01garbage\n", false},
            {"a picture", platform::composeInstanceMessage(second.string()), true},
        };
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(first));
        QVERIFY(viewer);
        const QString key =
            platform::InstanceClaim::keyFor(QString::fromStdString(sandbox.config().string()));
        platform::SingleInstance running;
        QVERIFY(running.claim(key));
        connect(&running, &platform::SingleInstance::activationRequested, viewer.get(),
                &app::ViewerApp::openHandedOver);
        for (const auto& c : cases) {
            QSignalSpy requests(&running, &platform::SingleInstance::activationRequested);
            platform::InstanceClaim later;
            QCOMPARE(later.claim(key, c.message), platform::InstanceClaim::Outcome::Running);
            QTest::qWait(200);
            const auto shown = c.opens ? second : first;
            QTRY_VERIFY2(viewer->navigator().currentPath() == *platform::toDevicePath(shown),
                         c.name);
            QCOMPARE(requests.count(), c.message.starts_with("activate") || c.opens ? 1 : 0);
        }
        QCOMPARE(viewer->current().width(), 40);
        QCOMPARE(viewer->navigator().count(), 1);
    }
};

QTEST_MAIN(HandOverTest)
#include "hand_over_qtest.moc"
