// The screen profile from colord, asked of a stand-in daemon on a private bus that the test
// starts and names as the system bus.
#include "platform/qt/colord_profile.h"

#include "support/temp_dir.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QProcess>
#include <QtTest>

#include <future>

namespace {

const QString kService = QStringLiteral("org.freedesktop.ColorManager");

class ColorManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ColorManager")

  public:
    QList<QDBusObjectPath> displays;

  public slots:
    QList<QDBusObjectPath> GetDevicesByKind(const QString& kind) {
        return kind == QStringLiteral("display") ? displays : QList<QDBusObjectPath>();
    }
};

class Device : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ColorManager.Device")
    Q_PROPERTY(QList<QDBusObjectPath> Profiles MEMBER profiles)

  public:
    QList<QDBusObjectPath> profiles;
};

class Profile : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ColorManager.Profile")
    Q_PROPERTY(QString Filename MEMBER filename)

  public:
    QString filename;
};

} // namespace

class ColordProfileTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address")});
        QVERIFY(daemon_.waitForStarted());
        QVERIFY(daemon_.waitForReadyRead(5000));
        address_ = daemon_.readLine().trimmed();
        QVERIFY(!address_.isEmpty());
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", address_);
    }

    void cleanupTestCase() {
        daemon_.kill();
        daemon_.waitForFinished();
    }

    void defaultProfileOfTheFirstDisplay_data() {
        QTest::addColumn<bool>("daemon");
        QTest::addColumn<int>("displays");
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("default profile") << true << 2 << true << QByteArray("first");
        QTest::newRow("no display") << true << 0 << true << QByteArray();
        QTest::newRow("unreadable file") << true << 1 << false << QByteArray();
        QTest::newRow("no colord") << false << 1 << true << QByteArray();
    }

    void defaultProfileOfTheFirstDisplay() {
        QFETCH(bool, daemon);
        QFETCH(int, displays);
        QFETCH(bool, fileExists);
        QFETCH(QByteArray, expected);
        const velmora::test::TempDir dir;
        if (fileExists) {
            dir.write("first.icc", "first");
            dir.write("second.icc", "second");
        }
        QDBusConnection bus =
            QDBusConnection::connectToBus(QString::fromUtf8(address_), QStringLiteral("stand-in"));
        QVERIFY(bus.isConnected());
        ColorManager manager;
        Device device;
        Profile first;
        Profile second;
        for (int i = 0; i < displays; ++i) {
            manager.displays.append(QDBusObjectPath(QStringLiteral("/d%1").arg(i)));
        }
        device.profiles = {QDBusObjectPath(QStringLiteral("/p0")),
                           QDBusObjectPath(QStringLiteral("/p1"))};
        first.filename = QString::fromStdString((dir.path() / "first.icc").string());
        second.filename = QString::fromStdString((dir.path() / "second.icc").string());
        const auto exported =
            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties;
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/ColorManager"), &manager,
                                   exported));
        QVERIFY(bus.registerObject(QStringLiteral("/d0"), &device, exported));
        QVERIFY(bus.registerObject(QStringLiteral("/p0"), &first, exported));
        QVERIFY(bus.registerObject(QStringLiteral("/p1"), &second, exported));
        if (daemon) {
            QVERIFY(bus.registerService(kService));
        }
        // The stand-in answers from this thread's event loop while the lookup waits on its own.
        auto lookup = std::async(std::launch::async,
                                 [] { return velmora::platform::qt::readColordDisplayProfile(); });
        QVERIFY(QTest::qWaitFor(
            [&] { return lookup.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
            5000));
        const std::vector<uint8_t> profile = lookup.get();
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(profile.data()),
                            static_cast<qsizetype>(profile.size())),
                 expected);
        bus.unregisterService(kService);
        QDBusConnection::disconnectFromBus(QStringLiteral("stand-in"));
    }

  private:
    QProcess daemon_;
    QByteArray address_;
};

QTEST_GUILESS_MAIN(ColordProfileTest)
#include "colord_profile_qtest.moc"
