#include "platform/qt/single_instance.h"

#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

#include <sys/stat.h>

using velmora::platform::InstanceClaim;
using velmora::platform::SingleInstance;

namespace {

constexpr char kHoldOption[] = "--hold-claim";

// Child mode: claims the key, says whether it was first, then reports every activation until
// it is killed.
int holdClaim(const QString& key) {
    SingleInstance instance;
    QObject::connect(&instance, &SingleInstance::activationRequested, [] {
        std::fputs("activated\n", stdout);
        std::fflush(stdout);
    });
    std::fputs(instance.claim(key) ? "first\n" : "second\n", stdout);
    std::fflush(stdout);
    return QCoreApplication::exec();
}

QString lineFrom(QProcess& process) {
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(10000)) {
            return {};
        }
    }
    return QString::fromUtf8(process.readLine()).trimmed();
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        runtime_ = std::make_unique<velmora::test::TempDir>();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(QString::fromStdString(runtime_->path())));
    }
    void cleanup() { runtime_.reset(); }

    void secondClaimAsksTheFirstToComeForward() {
        const QString key = InstanceClaim::keyFor(QStringLiteral("/some/config"));
        SingleInstance first;
        QSignalSpy activations(&first, &SingleInstance::activationRequested);
        QVERIFY(first.claim(key));

        SingleInstance second;
        QVERIFY(!second.claim(key));
        QVERIFY(activations.wait(5000));
        QCOMPARE(activations.count(), 1);
    }

    void separateConfigFoldersDoNotCollide() {
        SingleInstance one, other;
        QVERIFY(one.claim(InstanceClaim::keyFor(QStringLiteral("/config/one"))));
        QVERIFY(other.claim(InstanceClaim::keyFor(QStringLiteral("/config/other"))));
    }

    void leftoverLockAndSocketFilesDoNotBlock() {
        const QString key = QStringLiteral("leftovers");
        // Claim once to learn the lock file's name, then leave junk lock and socket files.
        const QDir folder(InstanceClaim::runtimeFolder());
        {
            SingleInstance probe;
            QVERIFY(probe.claim(key));
        }
        const QStringList locks = folder.entryList({QStringLiteral("*.lock")}, QDir::Files);
        QCOMPARE(locks.size(), 1);
        QString socketName = locks.first();
        socketName.replace(QLatin1String(".lock"), QLatin1String(".socket"));
        for (const QString& name : {locks.first(), socketName}) {
            QFile file(folder.filePath(name));
            QFile::remove(file.fileName());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("12345\nhost\nvelmora\n");
        }

        SingleInstance first;
        QSignalSpy activations(&first, &SingleInstance::activationRequested);
        QVERIFY(first.claim(key));
        SingleInstance second;
        QVERIFY(!second.claim(key));
        QVERIFY(activations.wait(5000));
    }

    void anotherProcessHoldsTheClaimUntilItIsKilled() {
        const QString key = InstanceClaim::keyFor(QStringLiteral("/cross/process"));
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {QLatin1String(kHoldOption), key});
        QVERIFY(holder.waitForStarted());
        QCOMPARE(lineFrom(holder), QStringLiteral("first"));

        {
            SingleInstance late;
            QVERIFY(!late.claim(key));
        }
        QCOMPARE(lineFrom(holder), QStringLiteral("activated"));

        holder.kill(); // a crash: nothing is cleaned up
        QVERIFY(holder.waitForFinished());
        SingleInstance next;
        QVERIFY(next.claim(key));
    }

    void sharedRuntimeFolderIsNotTrusted() {
        QVERIFY(::chmod(runtime_->path().c_str(), 0777) == 0);
        const QString folder = InstanceClaim::runtimeFolder();
        QVERIFY(folder != QString::fromStdString(runtime_->path()));
        if (!folder.isEmpty()) {
            QFileInfo info(folder);
            QVERIFY(info.isDir() && info.ownerId() == ::getuid());
            QCOMPARE(int(info.permissions() & (QFile::ReadOther | QFile::WriteOther)), 0);
        }
    }

  private:
    std::unique_ptr<velmora::test::TempDir> runtime_;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], kHoldOption) == 0) {
        return holdClaim(QString::fromLocal8Bit(argv[2]));
    }
    SingleInstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "single_instance_qtest.moc"
