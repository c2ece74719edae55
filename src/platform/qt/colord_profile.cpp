#include "platform/qt/colord_profile.h"

#include "platform/display_profile.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>

namespace velmora::platform::qt {
namespace {

const QString kService = QStringLiteral("org.freedesktop.ColorManager");
const QString kConnectionName = QStringLiteral("velmora-colord");
// colord answers from memory in a few milliseconds; a daemon being started takes far longer,
// and the viewer does not wait for it.
constexpr int kCallTimeoutMs = 250;
// Profiles are a few kilobytes; a lookup table profile stays well below this.
constexpr qint64 kMaxProfileBytes = qint64{16} << 20;

// A private connection to the system bus, closed when done.
class SystemBus {
  public:
    SystemBus()
        : connection_(QDBusConnection::connectToBus(QDBusConnection::SystemBus, kConnectionName)) {}
    ~SystemBus() { QDBusConnection::disconnectFromBus(kConnectionName); }
    SystemBus(const SystemBus&) = delete;
    SystemBus& operator=(const SystemBus&) = delete;

    bool connected() const { return connection_.isConnected(); }

    // The first value of a reply; invalid on an error or timeout.
    QVariant call(const QDBusMessage& message) const {
        const QDBusMessage reply = connection_.call(message, QDBus::Block, kCallTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            return {};
        }
        return reply.arguments().constFirst();
    }

    QVariant property(const QString& path, const QString& interface, const QString& name) const {
        QDBusMessage get = QDBusMessage::createMethodCall(
            kService, path, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Get"));
        get << interface << name;
        return call(get).value<QDBusVariant>().variant();
    }

  private:
    QDBusConnection connection_;
};

QString firstPath(const QVariant& paths) {
    if (!paths.isValid()) {
        return {};
    }
    const auto list = qdbus_cast<QList<QDBusObjectPath>>(paths);
    return list.isEmpty() ? QString() : list.constFirst().path();
}

} // namespace

std::vector<uint8_t> readColordDisplayProfile() {
    const SystemBus bus;
    if (!bus.connected()) {
        return {};
    }
    QDBusMessage displays =
        QDBusMessage::createMethodCall(kService, QStringLiteral("/org/freedesktop/ColorManager"),
                                       kService, QStringLiteral("GetDevicesByKind"));
    displays << QStringLiteral("display");
    const QString device = firstPath(bus.call(displays));
    if (device.isEmpty()) {
        return {};
    }
    const QString profile = firstPath(bus.property(
        device, QStringLiteral("org.freedesktop.ColorManager.Device"), QStringLiteral("Profiles")));
    if (profile.isEmpty()) {
        return {};
    }
    const QString fileName =
        bus.property(profile, QStringLiteral("org.freedesktop.ColorManager.Profile"),
                     QStringLiteral("Filename"))
            .toString();
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxProfileBytes) {
        return {};
    }
    const QByteArray bytes = file.read(kMaxProfileBytes);
    return {bytes.begin(), bytes.end()};
}

std::vector<uint8_t> readScreenProfile() {
    std::vector<uint8_t> profile = readDisplayProfile();
    return profile.empty() ? readColordDisplayProfile() : profile;
}

} // namespace velmora::platform::qt
