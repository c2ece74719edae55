// The row of buttons along the top of the full-screen dialogs.
#pragma once

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace velmora::ui {

// Adds a button of the given width (interface units) to the row, found by objectName.
QPushButton* addDialogButton(QHBoxLayout& row, const QString& text, const char* objectName,
                             int width);

// A new row starting with "OK" ("okButton", the default button, which also takes the enter key)
// and "キャンセル" ("cancelButton"), connected to the dialog's accept and reject.
QHBoxLayout* addOkCancelRow(QDialog& dialog, int buttonWidth);

} // namespace velmora::ui
