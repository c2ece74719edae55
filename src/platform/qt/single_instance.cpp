#include "platform/qt/single_instance.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#include <utility>

namespace velmora::platform {
namespace {

// A later start sends its message and closes at once; one that stalls is not waited for longer.
constexpr timeval kReadTimeout{0, 500 * 1000};
constexpr size_t kReadChunk = 1024;

// The bytes a connection sends until it closes, and one byte more than a message may hold at
// most, so that an oversized one is seen as such without being read to its end.
std::string readMessage(int connection) {
    ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &kReadTimeout, sizeof kReadTimeout);
    std::string message;
    char chunk[kReadChunk];
    while (message.size() <= kMaxInstanceMessage) {
        const ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        message.append(chunk, static_cast<size_t>(got));
    }
    return message;
}

} // namespace

SingleInstance::SingleInstance(InstanceClaim claim, QObject* parent)
    : QObject(parent), claim_(std::move(claim)) {
    serve();
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim(const QString& key, const std::string& message) {
    const InstanceClaim::Outcome outcome = claim_.claim(key, message);
    serve();
    return outcome != InstanceClaim::Outcome::Running;
}

void SingleInstance::serve() {
    if (notifier_ || claim_.listeningSocket() < 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(claim_.listeningSocket(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SingleInstance::acceptPending);
}

// Every waiting connection is one later start with one message.
void SingleInstance::acceptPending() {
    for (;;) {
        const int connection = ::accept4(claim_.listeningSocket(), nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            return;
        }
        const std::string message = readMessage(connection);
        ::close(connection);
        if (const auto request = parseInstanceMessage(message)) {
            emit activationRequested(
                QFile::decodeName(QByteArray::fromStdString(request->picture)));
        }
    }
}

} // namespace velmora::platform
