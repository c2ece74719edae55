// The texts of the information dialog's six value fields, made from what the application
// knows about the current picture.
#pragma once

#include "platform/device_fs.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::ui {

// What the file system search for the path found.
struct FileFacts {
    uint64_t size = 0;
    platform::FileTime lastWrite;
};

struct FileInfo {
    std::u16string path;    // device path of the current entry; empty when nothing is open
    int32_t imageWidth = 0; // the picture in memory, after edits
    int32_t imageHeight = 0;
    int currentIndex = 0;
    int entryCount = 0;
    std::optional<FileFacts> file; // nothing when the search found no file
    int frameCount = 0;            // of an animation that plays; 0 for a still picture
};

struct FileInfoTexts {
    std::u16string fileName;   // field 1020
    std::u16string dimensions; // field 1021
    std::u16string modified;   // field 1022
    std::u16string size;       // field 1023
    std::u16string folder;     // field 1024
    std::u16string position;   // field 1025
};

// "-" everywhere when the path is empty; size and date stay empty when the file was not found.
FileInfoTexts formatFileInfo(const FileInfo& info);

} // namespace velmora::ui
