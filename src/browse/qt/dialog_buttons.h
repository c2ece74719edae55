// The row of buttons along the top of the browsing dialogs.
#pragma once

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace velmora::browse::qt {

// Adds a button of the given width (interface units) to the row, found by objectName.
QPushButton* addDialogButton(QHBoxLayout& row, const QString& text, const char* objectName,
                             int width);

// A new row starting with "OK" ("okButton", the default button, which also takes the enter key)
// and "キャンセル" ("cancelButton"), connected to the dialog's accept and reject.
QHBoxLayout* addOkCancelRow(QDialog& dialog, int buttonWidth);

} // namespace velmora::browse::qt
