#include "platform/qt/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {
namespace {

Q_LOGGING_CATEGORY(lcInstance, "velmora.platform.instance")

// The first start may hold the lock but not be listening yet: retry within this time.
constexpr int kNotifyTimeoutMs = 2000;
constexpr unsigned long kConnectPauseMs = 50;

// A folder only this user can enter: owned by us, a real directory, no access for others.
bool isPrivateFolder(const QByteArray& path) {
    struct stat info {};
    return lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == getuid() && (info.st_mode & 077) == 0;
}

QString baseNameFor(const QString& key) {
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("velmora-") + QString::fromLatin1(digest.toHex().left(24));
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() {
    server_.reset();
    if (lockFd_ >= 0) {
        ::close(lockFd_);
    }
}

QString SingleInstance::keyFor(const QString& configFolder) {
    const QFileInfo folder(configFolder);
    const QString canonical = folder.canonicalFilePath();
    return QStringLiteral("VELMORA:") +
           (canonical.isEmpty() ? folder.absoluteFilePath() : canonical);
}

QString SingleInstance::runtimeFolder() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && isPrivateFolder(runtime)) {
        return QString::fromLocal8Bit(runtime);
    }
    const QByteArray fallback = QByteArray("/tmp/velmora-") + QByteArray::number(getuid());
    if (::mkdir(fallback.constData(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    return isPrivateFolder(fallback) ? QString::fromLocal8Bit(fallback) : QString();
}

bool SingleInstance::claim(const QString& key) {
    if (lockFd_ >= 0) {
        return true;
    }
    const QString folder = runtimeFolder();
    if (folder.isEmpty()) {
        qCWarning(lcInstance) << "no private runtime folder; not checking for another instance";
        return true;
    }
    const QString base = folder + QLatin1Char('/') + baseNameFor(key);
    const QByteArray lockPath = QFile::encodeName(base + QStringLiteral(".lock"));
    const QString socketPath = base + QStringLiteral(".socket");

    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        qCWarning(lcInstance) << "cannot open" << lockPath << "; not checking for another instance";
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        lockFd_ = fd;
        listen(socketPath);
        return true;
    }
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK) {
        qCWarning(lcInstance) << "cannot lock" << lockPath << "; not checking for another instance";
        return true;
    }
    notifyRunning(socketPath);
    return false;
}

void SingleInstance::listen(const QString& socketPath) {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file left here belongs to a run that has ended.
    QLocalServer::removeServer(socketPath);
    if (!server_->listen(socketPath)) {
        qCWarning(lcInstance) << "cannot listen on" << socketPath << server_->errorString();
        return;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            emit activationRequested();
        }
    });
}

void SingleInstance::notifyRunning(const QString& socketPath) {
    const QDeadlineTimer deadline(kNotifyTimeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write("activate\n");
            socket.waitForBytesWritten(int(deadline.remainingTime()));
            socket.disconnectFromServer();
            return;
        }
        QThread::msleep(kConnectPauseMs);
    }
    qCWarning(lcInstance) << "the running instance did not answer on" << socketPath;
}

} // namespace velmora::platform
