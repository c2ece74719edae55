#include "platform/qt/termination_request.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace velmora::platform {
namespace {

constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

volatile std::sig_atomic_t writeEnd = -1;
std::array<struct sigaction, kSignals.size()> previousActions{};

void onSignal(int) {
    const char byte = 1;
    // Nothing to do when the pipe is full: a request is already waiting.
    [[maybe_unused]] const ssize_t written = write(writeEnd, &byte, 1);
}

} // namespace

TerminationRequest::TerminationRequest(QObject* parent) : QObject(parent) {
    if (pipe2(pipe_.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        pipe_ = {-1, -1};
        return;
    }
    writeEnd = pipe_[1];
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationRequest::drain);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kSignals.size(); ++i) {
        sigaction(kSignals[i], &action, &previousActions[i]);
    }
}

TerminationRequest::~TerminationRequest() {
    if (pipe_[0] < 0) {
        return;
    }
    for (size_t i = 0; i < kSignals.size(); ++i) {
        sigaction(kSignals[i], &previousActions[i], nullptr);
    }
    writeEnd = -1;
    notifier_->setEnabled(false);
    close(pipe_[0]);
    close(pipe_[1]);
}

void TerminationRequest::drain() {
    std::array<char, 16> bytes{};
    while (read(pipe_[0], bytes.data(), bytes.size()) > 0) {
    }
    emit requested();
}

} // namespace velmora::platform
