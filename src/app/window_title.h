// The main window's title on a desktop: the picture's name and its zoom, then the program's name.
#pragma once

#include <QString>

#include <string_view>

namespace velmora::app {

// "name (zoom%) — title" for a picture at path shown displayWidth pixels wide; the title alone
// without a picture.
QString desktopWindowTitle(std::u16string_view path, int displayWidth, int pictureWidth,
                           const QString& title);

} // namespace velmora::app
