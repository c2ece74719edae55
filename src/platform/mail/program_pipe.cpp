#include "platform/mail/program_pipe.h"

#include "platform/mail/wait_pump.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace velmora::platform {
namespace {

using Clock = std::chrono::steady_clock;

// How long one wait lasts before the waiting thread's pump runs again.
constexpr int kWaitSliceMs = 10;

class FileDescriptor {
  public:
    FileDescriptor() = default;
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int& get() { return fd_; }
    void reset() {
        if (fd_ >= 0) {
            close(fd_);
            fd_ = -1;
        }
    }

  private:
    int fd_ = -1;
};

// A write to a pipe whose reader has gone raises SIGPIPE: it is blocked while feeding the
// program and a pending one is taken before the old mask comes back.
class SigpipeBlock {
  public:
    SigpipeBlock() {
        sigemptyset(&pipeOnly_);
        sigaddset(&pipeOnly_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeOnly_, &previous_);
    }
    ~SigpipeBlock() {
        const timespec noWait{0, 0};
        while (sigtimedwait(&pipeOnly_, nullptr, &noWait) > 0) {
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    SigpipeBlock(const SigpipeBlock&) = delete;
    SigpipeBlock& operator=(const SigpipeBlock&) = delete;

  private:
    sigset_t pipeOnly_{};
    sigset_t previous_{};
};

// The time left, at most one wait slice.
int sliceUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(std::min<long long>(left, kWaitSliceMs));
}

// Writes all of input unless the reader goes away or time runs out.
bool feed(int fd, std::string_view input, Clock::time_point deadline) {
    size_t written = 0;
    while (written < input.size()) {
        pollfd ready{fd, POLLOUT, 0};
        const int polled = poll(&ready, 1, sliceUntil(deadline));
        if ((polled < 0 && errno == EINTR) || (polled == 0 && Clock::now() < deadline)) {
            pumpWhileWaiting();
            continue;
        }
        if (polled <= 0 || (ready.revents & (POLLERR | POLLHUP)) != 0) {
            return false;
        }
        const ssize_t count = write(fd, input.data() + written, input.size() - written);
        if (count < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<size_t>(count);
    }
    return true;
}

// The exit status, or -1 when the program was killed (by a signal or at the deadline). At the
// deadline the program's whole process group goes, so no helper it started lives on.
int reap(pid_t child, Clock::time_point deadline) {
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (done < 0 && errno != EINTR) {
            return -1;
        }
        if (Clock::now() >= deadline) {
            kill(-child, SIGKILL);
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            return -1;
        }
        pumpWhileWaiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

pid_t spawnReadingFrom(int readEnd, const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, readEnd, STDIN_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // The program starts with no blocked signals and SIGPIPE at its default.
    sigset_t none, pipeSignal;
    sigemptyset(&none);
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
    // The program leads a process group of its own, which the deadline ends as a whole.
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                              POSIX_SPAWN_SETPGROUP);
    pid_t child = -1;
    if (posix_spawn(&child, args[0], &actions, &attributes, args.data(), environ) != 0) {
        child = -1;
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

} // namespace

bool runWithInput(const std::vector<std::string>& argv, std::string_view input,
                  std::chrono::milliseconds timeout) {
    return runWithInput(
        argv, [input](const MimeSink& sink) { return sink(input); }, timeout);
}

bool runWithInput(const std::vector<std::string>& argv, const MimeWriter& input,
                  std::chrono::milliseconds timeout) {
    if (argv.empty()) {
        return false;
    }
    const auto deadline = Clock::now() + timeout;
    FileDescriptor readEnd, writeEnd;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return false;
    }
    readEnd.get() = ends[0];
    writeEnd.get() = ends[1];
    const pid_t child = spawnReadingFrom(readEnd.get(), argv);
    readEnd.reset();
    if (child < 0) {
        return false;
    }
    bool taken = false;
    {
        SigpipeBlock quietPipe;
        fcntl(writeEnd.get(), F_SETFL, fcntl(writeEnd.get(), F_GETFL) | O_NONBLOCK);
        taken =
            input([&](std::string_view piece) { return feed(writeEnd.get(), piece, deadline); });
        writeEnd.reset();
    }
    const int status = reap(child, deadline);
    return taken && status == 0;
}

} // namespace velmora::platform
