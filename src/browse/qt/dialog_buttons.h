// The row of buttons along the top of the browsing dialogs.
#pragma once

#include <QHBoxLayout>
#include <QPushButton>

namespace velmora::browse::qt {

// Adds a button of the given width (interface units) to the row, found by objectName.
QPushButton* addDialogButton(QHBoxLayout& row, const QString& text, const char* objectName,
                             int width);

} // namespace velmora::browse::qt
