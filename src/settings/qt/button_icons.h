// The small icons of the button assignment page: the four arrow keys (icons 152, 153, 150,
// 151), the default button icon (140), and the icon a shell "Icon" value points to.
#pragma once

#include <QIcon>

#include <string_view>

namespace velmora::settings::qt {

// Key 0..3: left, right, up, down; no icon for any other number.
QIcon arrowKeyIcon(int key);
QIcon defaultButtonIcon();
// The icon "file,index" names (a device path): image index of a file Qt can read, else the
// default button icon. Negative indices name resource identifiers, which no file here carries.
QIcon shellButtonIcon(std::u16string_view iconValue);

} // namespace velmora::settings::qt
