// The claim behind "one running program per configuration folder". The first start holds an
// advisory lock in the user's runtime folder and listens on a local socket beside it; a later
// start with the same key connects there and sends its message (see instance_message.h: come
// forward, and maybe open a picture), and should then exit 0. The
// lock is released by the kernel when its holder ends, so a run that crashed never blocks the
// next start. Plain system calls only: a start can claim before the window system is touched.
#pragma once

#include "platform/instance_message.h"

#include <QString>

#include <string>

namespace velmora::platform {

class InstanceClaim {
  public:
    enum class [[nodiscard]] Outcome{
        NotClaimed, // claim() has not been called
        First,      // this process holds the key and listens for later starts
        Running,    // another process holds it and has been asked to come forward
        Unchecked,  // the runtime folder cannot be used: the start is never blocked
    };

    InstanceClaim() = default;
    ~InstanceClaim();
    InstanceClaim(InstanceClaim&& other) noexcept;
    InstanceClaim& operator=(InstanceClaim&& other) noexcept;
    InstanceClaim(const InstanceClaim&) = delete;
    InstanceClaim& operator=(const InstanceClaim&) = delete;

    // The key for a configuration folder: runs with different --config folders are separate.
    static QString keyFor(const QString& configFolder);

    // $XDG_RUNTIME_DIR, else /tmp/velmora-<uid> (made private to the user).
    static QString runtimeFolder();

    // Claims the key once; later calls return the first outcome. When another process holds it,
    // message is sent to that process.
    Outcome claim(const QString& key, const std::string& message = composeInstanceMessage({}));

    // The listening socket (non-blocking) while First and listening, else -1.
    int listeningSocket() const { return socketFd_; }

  private:
    void listen(const QByteArray& socketPath);
    static void notifyRunning(const QByteArray& socketPath, const std::string& message);
    void release();

    Outcome outcome_ = Outcome::NotClaimed;
    int lockFd_ = -1;
    int socketFd_ = -1;
};

} // namespace velmora::platform
