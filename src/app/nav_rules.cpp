#include "app/nav_rules.h"

namespace velmora::app {

NavButtonStates navButtonStates(int entryCount, int currentIndex) {
    if (entryCount <= 0) {
        return {};
    }
    NavButtonStates states{true, true, true, true};
    if (currentIndex == 0) {
        states.first = false;
        states.previous = false;
    }
    if (currentIndex + 1 == entryCount) {
        states.last = false;
        states.next = false;
    }
    return states;
}

QString popupAboutText(const QString& path) {
    constexpr int kLongestName = 16;
    constexpr int kKeptChars = 14;
    QString name = path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1);
    if (name.size() > kLongestName) {
        name = name.left(kKeptChars) + QStringLiteral("..");
    }
    return QStringLiteral("About[%1]").arg(name);
}

} // namespace velmora::app
