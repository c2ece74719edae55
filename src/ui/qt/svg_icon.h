// Icons drawn from SVG files. They look exactly like the toolkit's own SVG icons (the picture
// scaled to fit the size asked for, keeping its shape; the other modes made by the style from the
// normal picture), but the file is read once, when the icon is first drawn. The toolkit's engine
// reads it when the icon is made and again for every size and mode asked for: about three times
// per bar button, in front of the first frame.
#pragma once

#include <QIcon>
#include <QString>

namespace velmora::ui {

QIcon svgIcon(const QString& path);

} // namespace velmora::ui
