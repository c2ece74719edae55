// FolderChooser: the modal "ディレクトリ選択" dialog in which the user picks a folder of the
// device from a tree that starts with the root "\" and reads a folder's subfolders when it is
// expanded (dropping them again when it is collapsed).
//
// Object names: "folderChooser" (the dialog), "folderTree", "okButton", "cancelButton".
#pragma once

#include <QDialog>

#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace velmora::browse::qt {

// The chosen folder's device path: "\" for the root, otherwise without a trailing '\' ("\A\B").
// OK without a selected folder gives accepted with an empty path; cancel gives not accepted and
// an empty path.
struct FolderChoice {
    bool accepted = false;
    std::u16string path;
};

// Shows the chooser over owner (may be null) and returns the choice when it closes.
FolderChoice chooseFolder(QWidget* owner);

class FolderChooser : public QDialog {
    Q_OBJECT
  public:
    explicit FolderChooser(QWidget* owner);

    // Runs the dialog modally.
    FolderChoice run();

  private:
    void accept() override;
    void reject() override;
    void onExpanded(QTreeWidgetItem* item);
    void onCollapsed(QTreeWidgetItem* item);
    QTreeWidgetItem* addItem(QTreeWidgetItem* parent, const std::u16string& name, int iconId);
    std::u16string pathOf(const QTreeWidgetItem* item) const;

    QTreeWidget* tree_;
    FolderChoice choice_;
};

} // namespace velmora::browse::qt
