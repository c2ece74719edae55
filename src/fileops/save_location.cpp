#include "fileops/save_location.h"

#include "platform/device_fs.h"

namespace velmora::fileops {

SaveProposal proposeSaveLocation(std::u16string_view currentPath) {
    if (currentPath.empty()) {
        return {};
    }
    std::u16string name = platform::fileNamePart(currentPath);
    const auto dot = name.rfind(u'.');
    if (dot != std::u16string::npos) {
        name.erase(dot);
    }
    return {platform::folderPart(currentPath), std::move(name)};
}

std::u16string_view saveTypeExtension(SaveType type) {
    static constexpr std::u16string_view kExtensions[] = {u".jpg", u".bmp", u".png", u".tif"};
    const auto index = static_cast<size_t>(type);
    return index < std::size(kExtensions) ? kExtensions[index] : std::u16string_view();
}

std::optional<ui::StringId> acceptSaveChoice(SaveChoice& choice) {
    if (!choice.fileName.empty()) {
        const auto extension = saveTypeExtension(choice.type);
        if (extension.empty()) {
            return ui::str::kUnknownError;
        }
        choice.fileName += extension;
    }
    // A typed name stays in the chosen folder: "..", "/x" and the like are refused.
    if (choice.fileName.empty() || !platform::isUsablePath(choice.fileName)) {
        return ui::str::kBadFileName;
    }
    if (choice.folder.empty() || !platform::isDirectory(choice.folder)) {
        return ui::str::kBadSaveLocation;
    }
    return std::nullopt;
}

std::u16string pathInFolder(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (path.empty() || path.back() != u'\\') {
        path += u'\\';
    }
    return path + std::u16string(name);
}

} // namespace velmora::fileops
