#include "browse/qt/dialog_buttons.h"

namespace velmora::browse::qt {

QPushButton* addDialogButton(QHBoxLayout& row, const QString& text, const char* objectName,
                             int width) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(objectName));
    button->setFixedWidth(width);
    row.addWidget(button);
    return button;
}

} // namespace velmora::browse::qt
