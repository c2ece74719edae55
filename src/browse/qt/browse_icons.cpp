#include "browse/qt/browse_icons.h"

#include <QApplication>
#include <QStyle>

namespace velmora::browse::qt {
QIcon browseIcon(int iconId) {
    static constexpr struct {
        int id;
        QStyle::StandardPixmap pixmap;
    } kIcons[] = {
        {kIconFolder, QStyle::SP_DirClosedIcon},    {kIconStorageCard, QStyle::SP_DriveHDIcon},
        {kIconPictureFile, QStyle::SP_FileIcon},    {kIconOpenFolder, QStyle::SP_DirOpenIcon},
        {kIconDeviceRoot, QStyle::SP_ComputerIcon},
    };
    for (const auto& icon : kIcons) {
        if (icon.id == iconId) {
            return QApplication::style()->standardIcon(icon.pixmap);
        }
    }
    return {};
}

} // namespace velmora::browse::qt
