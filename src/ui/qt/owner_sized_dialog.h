// Where the dialogs go. On the handheld (an emulated screen) every dialog is full screen: it
// covers its owner's window. On a desktop a dialog takes the size of its content (at least the
// size it asks for) and is centred over its owner's window.
#pragma once

#include <QDialog>
#include <QSize>

class QBoxLayout;

namespace velmora::ui {

// Adds the OK button ("okButton", result 1) below the dialog's content and places the dialog.
void finishOwnerSizedDialog(QDialog& dialog, QBoxLayout& layout);

// Places the dialog over its owner's window (over the available screen without an owner), now
// and again whenever it is shown, when its content's size is known. desktopSize: the least size
// on a desktop, for dialogs whose content is a list or a picture.
void placeOverOwner(QDialog& dialog, QSize desktopSize = {});

} // namespace velmora::ui
