#include "fileops/qt/file_controller.h"

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

// With dialogMemory on, the dialog offers the type and quality of the last accepted save of this
// run; they are not stored.
SaveDialogRunner saveDialogOver(FileOpsHost& host, const settings::AppSettings& settings) {
    return [&host, &settings, last = SaveProposal()](const SaveProposal& proposal) mutable {
        SaveProposal offered = proposal;
        if (settings.dialogMemory) {
            offered.type = last.type;
            offered.quality = last.quality;
        }
        SaveDialog dialog(host.dialogOwner(), offered,
                          [&host] { return browse::qt::chooseFolder(host.dialogOwner()).path; });
        auto choice = dialog.run();
        if (choice) {
            last.type = choice->type;
            last.quality = choice->quality;
        }
        return choice;
    };
}

} // namespace

FileController::FileController(FileOpsHost& host, const settings::AppSettings& settings)
    : commands_(host, settings, folderChooserOver(host), saveDialogOver(host, settings)) {}

bool FileController::onCommand(ui::Command id) {
    switch (id) {
    case ui::Command::Save:
        commands_.save();
        return true;
    case ui::Command::Copy:
        commands_.copy();
        return true;
    case ui::Command::Move:
        commands_.move();
        return true;
    case ui::Command::Delete:
        commands_.remove();
        return true;
    default:
        return false;
    }
}

} // namespace velmora::fileops::qt
