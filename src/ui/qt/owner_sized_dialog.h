// The handheld's full-screen dialog frame: a dialog covering its owner's window with an OK
// button ("okButton") that closes it with result 1.
#pragma once

#include <QDialog>

class QBoxLayout;

namespace velmora::ui {

// Adds the OK button below the dialog's content and covers the owner's window.
void finishOwnerSizedDialog(QDialog& dialog, QBoxLayout& layout);

// Places the dialog over its owner's window (over the available screen without an owner).
void coverOwnerWindow(QDialog& dialog);

} // namespace velmora::ui
