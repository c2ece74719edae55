// The frame of the edit dialogs: full screen over the owner's window, OK ("okButton") and
// キャンセル ("cancelButton") along the top.
#pragma once

#include <QDialog>

class QBoxLayout;
class QPushButton;

namespace velmora::edit::qt {

struct DialogButtons {
    QPushButton* ok;
    QPushButton* cancel;
};

// Makes the two buttons (Cancel rejects; OK is left to the dialog) and covers the owner.
DialogButtons frameEditDialog(QDialog& dialog, const QString& title, const char* objectName);
// Puts the two buttons in a row at the end of layout.
void addButtonRow(QBoxLayout& layout, const DialogButtons& buttons);

} // namespace velmora::edit::qt
