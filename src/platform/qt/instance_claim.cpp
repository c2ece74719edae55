#include "platform/qt/instance_claim.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace velmora::platform {
namespace {

Q_LOGGING_CATEGORY(lcInstance, "velmora.platform.instance")

// The first start may hold the lock but not be listening yet: retry within this time.
constexpr auto kNotifyTimeout = std::chrono::milliseconds(2000);
constexpr auto kConnectPause = std::chrono::milliseconds(50);
constexpr int kBacklog = 8;

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

// The socket address for a path; false when the path does not fit.
bool addressFor(const QByteArray& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    return true;
}

// The whole message, as far as the peer takes it: a local socket's buffer holds far more than a
// message, so a short send means the peer has gone.
void sendAll(int fd, std::string_view message) {
    while (!message.empty()) {
        const ssize_t sent = ::send(fd, message.data(), message.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return;
        }
        message.remove_prefix(static_cast<size_t>(sent));
    }
}

void closeFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

} // namespace

InstanceClaim::~InstanceClaim() {
    release();
}

InstanceClaim::InstanceClaim(InstanceClaim&& other) noexcept
    : outcome_(std::exchange(other.outcome_, Outcome::NotClaimed)),
      lockFd_(std::exchange(other.lockFd_, -1)), socketFd_(std::exchange(other.socketFd_, -1)) {}

InstanceClaim& InstanceClaim::operator=(InstanceClaim&& other) noexcept {
    if (this != &other) {
        release();
        outcome_ = std::exchange(other.outcome_, Outcome::NotClaimed);
        lockFd_ = std::exchange(other.lockFd_, -1);
        socketFd_ = std::exchange(other.socketFd_, -1);
    }
    return *this;
}

void InstanceClaim::release() {
    closeFd(socketFd_);
    closeFd(lockFd_);
}

QString InstanceClaim::keyFor(const QString& configFolder) {
    const QFileInfo folder(configFolder);
    const QString canonical = folder.canonicalFilePath();
    return QStringLiteral("VELMORA:") +
           (canonical.isEmpty() ? folder.absoluteFilePath() : canonical);
}

QString InstanceClaim::runtimeFolder() {
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

InstanceClaim::Outcome InstanceClaim::claim(const QString& key, const std::string& message) {
    if (outcome_ != Outcome::NotClaimed) {
        return outcome_;
    }
    outcome_ = Outcome::Unchecked;
    const QString folder = runtimeFolder();
    if (folder.isEmpty()) {
        qCWarning(lcInstance) << "no private runtime folder; not checking for another instance";
        return outcome_;
    }
    const QString base = folder + QLatin1Char('/') + baseNameFor(key);
    const QByteArray lockPath = QFile::encodeName(base + QStringLiteral(".lock"));
    const QByteArray socketPath = QFile::encodeName(base + QStringLiteral(".socket"));

    const int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        qCWarning(lcInstance) << "cannot open" << lockPath << "; not checking for another instance";
        return outcome_;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        lockFd_ = fd;
        listen(socketPath);
        outcome_ = Outcome::First;
        return outcome_;
    }
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK) {
        qCWarning(lcInstance) << "cannot lock" << lockPath << "; not checking for another instance";
        return outcome_;
    }
    notifyRunning(socketPath, message);
    outcome_ = Outcome::Running;
    return outcome_;
}

void InstanceClaim::listen(const QByteArray& socketPath) {
    sockaddr_un address;
    if (!addressFor(socketPath, address)) {
        qCWarning(lcInstance) << "the socket path is too long:" << socketPath;
        return;
    }
    socketFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socketFd_ < 0) {
        qCWarning(lcInstance) << "cannot make a socket:" << std::strerror(errno);
        return;
    }
    // We hold the lock, so a socket file left here belongs to a run that has ended.
    ::unlink(socketPath.constData());
    if (::bind(socketFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(socketPath.constData(), 0600) != 0 || ::listen(socketFd_, kBacklog) != 0) {
        qCWarning(lcInstance) << "cannot listen on" << socketPath << std::strerror(errno);
        closeFd(socketFd_);
    }
}

void InstanceClaim::notifyRunning(const QByteArray& socketPath, const std::string& message) {
    sockaddr_un address;
    if (!addressFor(socketPath, address)) {
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + kNotifyTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            break;
        }
        // A local connect completes at once when the first start listens (its accept comes
        // when its event loop runs); it fails at once when nobody listens or the queue is full.
        const bool connected =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        if (connected) {
            sendAll(fd, message);
        }
        ::close(fd);
        if (connected) {
            return;
        }
        std::this_thread::sleep_for(kConnectPause);
    }
    qCWarning(lcInstance) << "the running instance did not answer on" << socketPath;
}

} // namespace velmora::platform
