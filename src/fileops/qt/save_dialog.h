// SaveDialog: the modal "保存" dialog in which the user picks the folder, the file name without
// extension, the file type and, for JPEG, the quality of a save. OK checks the choice and keeps
// the dialog open with a message while it cannot be used.
//
// Object names: "saveDialog" (the dialog), "okButton", "cancelButton", "folderEdit",
// "browseButton" ("..."), "nameEdit", "typeCombo", "qualityHigh", "qualityMedium", "qualityLow".
#pragma once

#include "fileops/save_location.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QButtonGroup;
class QComboBox;
class QLineEdit;

namespace velmora::fileops::qt {

// The folder chooser behind "...": the chosen folder, empty when it was cancelled.
using FolderField = std::function<std::u16string()>;

class SaveDialog : public QDialog {
    Q_OBJECT
  public:
    SaveDialog(QWidget* owner, const SaveProposal& proposal, FolderField chooseFolder);

    // Runs the dialog modally: the accepted choice (name with its extension), or nothing.
    std::optional<SaveChoice> run();

  private:
    void accept() override;
    int checkedQuality() const;

    FolderField chooseFolder_;
    QLineEdit* folderEdit_;
    QLineEdit* nameEdit_;
    QComboBox* typeCombo_;
    QButtonGroup* qualities_;
    std::optional<SaveChoice> choice_;
};

} // namespace velmora::fileops::qt
