// The frame of the edit dialogs: over the owner's window, OK ("okButton") and
// キャンセル ("cancelButton") along the top.
#pragma once

#include <QDialog>
#include <QSize>

class QBoxLayout;
class QPushButton;

namespace velmora::edit::qt {

struct DialogButtons {
    QPushButton* ok;
    QPushButton* cancel;
};

// Makes the two buttons (Cancel rejects; OK is left to the dialog) and places the dialog over
// its owner (desktopSize: its least size on a desktop, see ui::placeOverOwner).
DialogButtons frameEditDialog(QDialog& dialog, const QString& title, const char* objectName,
                              QSize desktopSize = {});
// Puts the two buttons in a row at the end of layout.
void addButtonRow(QBoxLayout& layout, const DialogButtons& buttons);

} // namespace velmora::edit::qt
