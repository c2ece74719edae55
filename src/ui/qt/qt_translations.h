// Qt's own texts (standard buttons of message boxes and dialogs, context menus of text fields)
// in Japanese, like the rest of the user interface.
#pragma once

class QCoreApplication;

namespace velmora::ui {

// Loads Qt's Japanese translation into the application; false when it is not installed (the
// texts then stay English).
[[nodiscard]] bool installQtTranslations(QCoreApplication& application);

} // namespace velmora::ui
