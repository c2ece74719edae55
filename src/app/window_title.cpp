#include "app/window_title.h"

#include "platform/device_fs.h"

namespace velmora::app {

QString desktopWindowTitle(std::u16string_view path, int displayWidth, int pictureWidth,
                           const QString& title) {
    if (path.empty() || pictureWidth < 1) {
        return title;
    }
    const long long percent = (displayWidth * 200LL / pictureWidth + 1) / 2; // rounded
    return QStringLiteral("%1 (%2%) — %3")
        .arg(QString::fromStdU16String(platform::fileNamePart(path)))
        .arg(percent)
        .arg(title);
}

} // namespace velmora::app
