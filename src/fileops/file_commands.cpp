#include "fileops/file_commands.h"

#include "codecs/load_image.h"
#include "platform/device_fs.h"
#include "platform/program_folder.h"
#include "platform/trash.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

#include <algorithm>

namespace velmora::fileops {

FileCommands::FileCommands(FileOpsHost& host, const settings::AppSettings& settings,
                           FolderPicker pickFolder, SaveDialogRunner runSaveDialog)
    : host_(host), settings_(settings), pickFolder_(std::move(pickFolder)),
      runSaveDialog_(std::move(runSaveDialog)) {}

std::optional<std::u16string> FileCommands::save() {
    browse::Navigator& navigator = host_.navigator();
    const image::LoadedImage& image = navigator.current();
    if (image.width() <= 0 || image.height() <= 0) {
        ui::showError(ui::str::kNothingToSave);
        return std::nullopt;
    }
    const auto choice = runSaveDialog_(proposeSaveLocation(navigator.currentPath()));
    if (!choice) {
        return std::nullopt;
    }
    const std::u16string folder =
        choice->folder.empty() ? platform::programFolder() : choice->folder;
    std::u16string target = pathInFolder(folder, choice->fileName);
    if (platform::exists(target) && !agreeToReplace(target)) {
        return std::nullopt;
    }
    // Every failure of the writer shows one message; the edits stay unsaved until a write works.
    if (!codecs::saveLoadedPicture(
            image, target, static_cast<int>(choice->type), choice->quality,
            {settings_.keepMetadata, settings_.losslessTurns, settings_.showAlpha})) {
        ui::showError(ui::str::kWriteFailed);
        return std::nullopt;
    }
    host_.clearModified();
    return target;
}

bool FileCommands::settleUnsavedEdits() {
    if (!host_.isModified()) {
        return true;
    }
    switch (ui::askYesNoCancel(ui::str::kSaveEdited)) {
    case ui::kButtonYes:
        return save().has_value();
    case ui::kButtonNo:
        return true;
    default:
        return false;
    }
}

void FileCommands::copy() {
    const auto transfer = chooseTransfer();
    if (transfer && !platform::copyFile(transfer->source, transfer->target, !transfer->replacing)) {
        ui::showError(ui::str::kOperationFailed);
    }
}

void FileCommands::move() {
    const auto transfer = chooseTransfer();
    if (!transfer) {
        return;
    }
    const bool moved = transfer->replacing
                           ? platform::moveFileReplacing(transfer->source, transfer->target)
                           : platform::moveFile(transfer->source, transfer->target);
    if (!moved) {
        ui::showError(ui::str::kOperationFailed);
    }
    // The entry leaves the list also when the move failed.
    removeCurrentEntry();
}

void FileCommands::remove() {
    const std::u16string path = host_.navigator().currentPath();
    if (path.empty()) {
        ui::showError(ui::str::kNoTargetFile);
        return;
    }
    if (ui::askOkCancel(ui::str::kReallyDelete) != ui::kButtonOk) {
        return;
    }
    switch (discard(path)) {
    case Discarded::Yes:
        removeCurrentEntry();
        break;
    case Discarded::Failed:
        ui::showError(ui::str::kOperationFailed);
        break;
    case Discarded::Kept:
        break;
    }
}

std::optional<FileCommands::Transfer> FileCommands::chooseTransfer() {
    std::u16string source = host_.navigator().currentPath();
    if (source.empty()) {
        ui::showError(ui::str::kNoTargetFile);
        return std::nullopt;
    }
    const auto folder = pickFolder_();
    if (!folder) {
        return std::nullopt;
    }
    if (folder->empty() || !platform::isDirectory(*folder)) {
        ui::showError(ui::str::kFolderMissing);
        return std::nullopt;
    }
    std::u16string target = pathInFolder(*folder, platform::fileNamePart(source));
    // The same file reached through a linked folder or a hard link counts as the source too.
    if (target == source || platform::isSameFile(source, target)) {
        return std::nullopt;
    }
    const bool replacing = platform::exists(target);
    if (replacing && !agreeToReplace(target)) {
        return std::nullopt;
    }
    return Transfer{std::move(source), std::move(target), replacing};
}

bool FileCommands::agreeToReplace(const std::u16string& target) {
    if (platform::isDirectory(target)) {
        ui::showError(ui::str::kOperationFailed);
        return false;
    }
    if (ui::askOkCancel(ui::str::kOverwrite) != ui::kButtonOk) {
        return false;
    }
    forgetReadAheadOf(target);
    return true;
}

void FileCommands::forgetReadAheadOf(const std::u16string& target) {
    browse::Navigator& navigator = host_.navigator();
    const browse::FolderList& list = navigator.folderList();
    if (std::find(list.begin(), list.end(), target) != list.end()) {
        navigator.releaseLookAhead();
    }
}

FileCommands::Discarded FileCommands::discard(const std::u16string& path) {
    if (settings_.useTrash) {
        switch (platform::moveToTrash(path)) {
        case platform::TrashResult::Trashed:
            return Discarded::Yes;
        case platform::TrashResult::Failed:
            return Discarded::Failed;
        case platform::TrashResult::Unavailable:
            // Deleting for good is the user's choice, never a silent fallback.
            if (ui::askOkCancel(ui::str::kTrashUnavailable) != ui::kButtonOk) {
                return Discarded::Kept;
            }
            break;
        }
    }
    return platform::deleteFile(path) ? Discarded::Yes : Discarded::Failed;
}

void FileCommands::removeCurrentEntry() {
    browse::Navigator& navigator = host_.navigator();
    navigator.removeEntry(navigator.currentIndex());
    navigator.showCurrent();
}

} // namespace velmora::fileops
