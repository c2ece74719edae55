// Small rules shared by the navigation toolbar and the pop-up menu.
#pragma once

#include <QString>

namespace velmora::app {

struct NavButtonStates {
    bool first = false;
    bool previous = false;
    bool next = false;
    bool last = false;
};

// Which of first/previous/next/last are usable with entryCount entries and the given index.
NavButtonStates navButtonStates(int entryCount, int currentIndex);

// "About[name]" for the pop-up menu: the file name of path (after the last '\'), names longer
// than 16 characters cut to their first 14 and "..".
QString popupAboutText(const QString& path);

} // namespace velmora::app
