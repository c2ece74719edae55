#include "platform/qt/session_bus.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>

namespace velmora::platform {
namespace {

constexpr char kAddressVariable[] = "DBUS_SESSION_BUS_ADDRESS";

bool sessionBusReachable() {
    if (!qEnvironmentVariableIsEmpty(kAddressVariable)) {
        return true;
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

// The library tries its own installation folder first, then the search path.
bool busLauncherInstalled() {
    return QFileInfo(QStringLiteral("/usr/bin/dbus-launch")).isExecutable() ||
           !QStandardPaths::findExecutable(QStringLiteral("dbus-launch")).isEmpty();
}

} // namespace

void markUnreachableSessionBus() {
    if (!sessionBusReachable() && !busLauncherInstalled()) {
        qputenv(kAddressVariable, "disabled:");
    }
}

} // namespace velmora::platform
