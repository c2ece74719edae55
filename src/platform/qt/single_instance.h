// One running program per configuration folder, on the event loop: holds the claim (see
// InstanceClaim) and turns each later start's connection into activationRequested.
#pragma once

#include "platform/qt/instance_claim.h"

#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;

namespace velmora::platform {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // Takes over a claim made before the application existed (or none yet).
    explicit SingleInstance(InstanceClaim claim = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first for the key and now answers later starts. False when
    // another process holds it; that process has been sent message (come forward, and maybe open
    // a picture). When the runtime folder cannot be used the start is never blocked: true.
    [[nodiscard]] bool claim(const QString& key,
                             const std::string& message = composeInstanceMessage({}));

  signals:
    // A later start asked this instance to bring its window forward and, when picture (a host
    // path) is not empty, to open that picture.
    void activationRequested(const QString& picture);

  private:
    void serve();
    void acceptPending();

    InstanceClaim claim_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace velmora::platform
