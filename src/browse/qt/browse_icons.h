// The browsing dialogs' icons, by the numbers the dialogs know them by.
#pragma once

#include <QIcon>

namespace velmora::browse::qt {

inline constexpr int kIconFolder = 113;      // a closed folder
inline constexpr int kIconStorageCard = 121; // a mounted storage volume
inline constexpr int kIconPictureFile = 123; // a picture file
inline constexpr int kIconOpenFolder = 137;  // a folder while expanded
inline constexpr int kIconDeviceRoot = 138;  // the device root "\"

// The icon of that number; a null icon for a number the program does not have.
QIcon browseIcon(int iconId);

// Lists and trees show their icons at 16 x 16 interface units: Qt scales interface units by the
// screen's pixels per inch / 96, so a 192-per-inch screen shows them at 32 x 32 pixels.
inline constexpr int kSmallIconSide = 16;

} // namespace velmora::browse::qt
