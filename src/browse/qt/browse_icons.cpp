#include "browse/qt/browse_icons.h"

#include <QApplication>
#include <QStyle>

namespace velmora::browse::qt {
QIcon browseIcon(int iconId) {
    QStyle::StandardPixmap pixmap;
    switch (iconId) {
    case kIconFolder:
        pixmap = QStyle::SP_DirClosedIcon;
        break;
    case kIconStorageCard:
        pixmap = QStyle::SP_DriveHDIcon;
        break;
    case kIconPictureFile:
        pixmap = QStyle::SP_FileIcon;
        break;
    case kIconOpenFolder:
        pixmap = QStyle::SP_DirOpenIcon;
        break;
    case kIconDeviceRoot:
        pixmap = QStyle::SP_ComputerIcon;
        break;
    default:
        return {};
    }
    return QApplication::style()->standardIcon(pixmap);
}

} // namespace velmora::browse::qt
