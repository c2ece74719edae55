#include "fileops/qt/file_controller.h"

#include "app/command_ids.h"
#include "browse/qt/folder_chooser.h"
#include "fileops/qt/save_dialog.h"

namespace velmora::fileops::qt {
namespace {

FolderPicker folderChooserOver(FileOpsHost& host) {
    return [&host]() -> std::optional<std::u16string> {
        browse::qt::FolderChoice choice = browse::qt::chooseFolder(host.dialogOwner());
        if (!choice.accepted) {
            return std::nullopt;
        }
        return std::move(choice.path);
    };
}

SaveDialogRunner saveDialogOver(FileOpsHost& host) {
    return [&host](const SaveProposal& proposal) {
        SaveDialog dialog(host.dialogOwner(), proposal,
                          [&host] { return browse::qt::chooseFolder(host.dialogOwner()).path; });
        return dialog.run();
    };
}

} // namespace

FileController::FileController(FileOpsHost& host, const settings::AppSettings& settings)
    : commands_(host, settings, folderChooserOver(host), saveDialogOver(host)) {}

bool FileController::onCommand(int id) {
    switch (id) {
    case app::kCmdSave:
        commands_.save();
        return true;
    case app::kCmdCopy:
        commands_.copy();
        return true;
    case app::kCmdMove:
        commands_.move();
        return true;
    case app::kCmdDelete:
        commands_.remove();
        return true;
    default:
        return false;
    }
}

} // namespace velmora::fileops::qt
