// One running program per configuration folder. The first start holds an advisory lock in the
// user's runtime folder and serves a local socket; a later start with the same key asks it to
// come forward and should then exit 0. The lock is released by the kernel when its holder ends,
// so a run that crashed never blocks the next start.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace velmora::platform {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // The key for a configuration folder: runs with different --config folders are separate.
    static QString keyFor(const QString& configFolder);

    // $XDG_RUNTIME_DIR, else /tmp/velmora-<uid> (made private to the user).
    static QString runtimeFolder();

    // True when this process is the first for the key and now listens for later starts. False
    // when another process holds it; that process has been asked to come forward. When the
    // runtime folder cannot be used the start is never blocked: true.
    bool claim(const QString& key);

  signals:
    // A later start asked this instance to bring its window forward.
    void activationRequested();

  private:
    void listen(const QString& socketPath);
    static void notifyRunning(const QString& socketPath);

    int lockFd_ = -1;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace velmora::platform
