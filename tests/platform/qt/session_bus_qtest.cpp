#include "platform/qt/session_bus.h"

#include "support/temp_dir.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>

namespace {

void makeExecutable(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nexit 1\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

} // namespace

class SessionBusTest : public QObject {
    Q_OBJECT

  private slots:
    void onlyAnUnreachableBusIsMarked_data() {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<bool>("busSocket");
        QTest::addColumn<bool>("launcherOnPath");
        QTest::addColumn<bool>("marked");
        const bool systemLauncher =
            QFileInfo(QStringLiteral("/usr/bin/dbus-launch")).isExecutable();
        QTest::newRow("address given")
            << QByteArray("unix:path=/nowhere") << false << false << false;
        QTest::newRow("bus in runtime folder") << QByteArray() << true << false << false;
        QTest::newRow("launcher on the path") << QByteArray() << false << true << false;
        QTest::newRow("nothing") << QByteArray() << false << false << !systemLauncher;
    }
    void onlyAnUnreachableBusIsMarked() {
        QFETCH(QByteArray, address);
        QFETCH(bool, busSocket);
        QFETCH(bool, launcherOnPath);
        QFETCH(bool, marked);
        velmora::test::TempDir runtime, bin;
        const QString runtimePath = QString::fromStdString(runtime.path().string());
        const QString binPath = QString::fromStdString(bin.path().string());
        if (busSocket) {
            QFile socketStandIn(runtimePath + QStringLiteral("/bus"));
            QVERIFY(socketStandIn.open(QIODevice::WriteOnly));
        }
        if (launcherOnPath) {
            makeExecutable(binPath + QStringLiteral("/dbus-launch"));
        }
        const QByteArray savedPath = qgetenv("PATH");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimePath));
        qputenv("PATH", QFile::encodeName(binPath));
        if (address.isEmpty()) {
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        } else {
            qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        }

        velmora::platform::markUnreachableSessionBus();
        const QByteArray result = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("PATH", savedPath);
        QCOMPARE(result, marked ? QByteArray("disabled:") : address);
    }
};

QTEST_GUILESS_MAIN(SessionBusTest)
#include "session_bus_qtest.moc"
