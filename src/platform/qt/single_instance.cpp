#include "platform/qt/single_instance.h"

#include <QSocketNotifier>

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace velmora::platform {

SingleInstance::SingleInstance(InstanceClaim claim, QObject* parent)
    : QObject(parent), claim_(std::move(claim)) {
    serve();
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim(const QString& key) {
    const InstanceClaim::Outcome outcome = claim_.claim(key);
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

// Every waiting connection is one later start: it is closed at once and counted as a request.
void SingleInstance::acceptPending() {
    for (;;) {
        const int connection = ::accept4(claim_.listeningSocket(), nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            return;
        }
        ::close(connection);
        emit activationRequested();
    }
}

} // namespace velmora::platform
