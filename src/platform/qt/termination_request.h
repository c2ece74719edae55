// A request to end the program from outside (SIGTERM from a shutdown or `kill`, SIGINT from the
// terminal, SIGHUP when the terminal goes away) arrives as a Qt signal in the event loop, so the
// program can close its window normally and keep its settings. The signal handler only writes a
// byte to a pipe that the event loop watches. One object at a time; the previous handlers come
// back when it is destroyed.
#pragma once

#include <QObject>

#include <array>

class QSocketNotifier;

namespace velmora::platform {

class TerminationRequest : public QObject {
    Q_OBJECT
  public:
    explicit TerminationRequest(QObject* parent = nullptr);
    ~TerminationRequest() override;
    TerminationRequest(const TerminationRequest&) = delete;
    TerminationRequest& operator=(const TerminationRequest&) = delete;

  signals:
    void requested();

  private:
    void drain();

    std::array<int, 2> pipe_{-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace velmora::platform
