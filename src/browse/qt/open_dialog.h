// OpenDialog: the "開く" dialog in which the user picks a picture from a two-column list of one
// folder (".." first, the subfolders, then the pictures). A single tap acts at once: a folder is
// entered, ".." goes up, a picture is chosen. "サムネイル" shows the folder's pictures as
// thumbnails. The folder a picture was last chosen in is remembered (lastBrowseDir); with
// dialogMemory on, the folder of the picture on screen is listed first instead.
//
// Object names: "openDialog", "fileList", "okButton", "cancelButton", "thumbnailButton".
#pragma once

#include "browse/picture_choice.h"
#include "settings/app_settings.h"

#include <QDialog>

#include <optional>
#include <string>
#include <string_view>

class QTreeView;

namespace velmora::browse::qt {

class OpenListModel;

class OpenDialog : public QDialog {
    Q_OBJECT
  public:
    // shownPicture: the device path of the picture on screen, empty when there is none.
    OpenDialog(QWidget* owner, const settings::AppSettings& settings,
               std::u16string_view shownPicture = {});

    // Runs the dialog modally; the folder's pictures with the chosen one, or nothing.
    std::optional<PictureChoice> run();

    // The folder listed, relative to the root with a trailing '\' (empty for the root).
    const std::u16string& currentFolder() const { return currentFolder_; }

  private:
    // OK, a tap on a row and the enter key: go up, enter a folder or choose a picture.
    void accept() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void fill();
    void showThumbnails();
    void onRowTapped();

    const settings::AppSettings& settings_;
    std::u16string currentFolder_;
    OpenListModel* model_;
    QTreeView* list_;
    std::optional<PictureChoice> choice_;
    bool secondClickOfDoubleClick_ = false;
};

} // namespace velmora::browse::qt
