#include "settings/qt/button_icons.h"

#include "platform/device_fs.h"
#include "settings/sheet_values.h"

#include <QImageReader>
#include <QPixmap>

#include <array>

// The icons live in a static library: their registration has to be pulled in explicitly.
static void registerSettingsIcons() {
    Q_INIT_RESOURCE(velmora_settings);
}

namespace velmora::settings::qt {
namespace {

QIcon resourceIcon(const char* name) {
    static const bool registered = (registerSettingsIcons(), true);
    (void)registered;
    return QIcon(QStringLiteral(":/velmora/settings/") + QLatin1String(name));
}

QIcon iconFromFile(const IconLocation& location) {
    if (location.file.empty() || location.index < 0) {
        return {};
    }
    QImageReader reader(QString::fromStdString(platform::toHostPath(location.file).string()));
    if (location.index > 0 && !reader.jumpToImage(location.index)) {
        return {};
    }
    const QImage image = reader.read();
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

} // namespace

QIcon arrowKeyIcon(int key) {
    static constexpr std::array<const char*, 4> kNames{"key_left.svg", "key_right.svg",
                                                       "key_up.svg", "key_down.svg"};
    if (key < 0 || key >= static_cast<int>(kNames.size())) {
        return {};
    }
    return resourceIcon(kNames[static_cast<size_t>(key)]);
}

QIcon defaultButtonIcon() {
    return resourceIcon("button.svg");
}

QIcon shellButtonIcon(std::u16string_view iconValue) {
    if (const auto location = parseIconLocation(iconValue)) {
        QIcon icon = iconFromFile(*location);
        if (!icon.isNull()) {
            return icon;
        }
    }
    return defaultButtonIcon();
}

} // namespace velmora::settings::qt
