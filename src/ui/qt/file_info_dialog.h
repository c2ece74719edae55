// The information dialog (command 40044): file name, dimensions, size, date, folder and
// position of the current picture, in six read-only fields named "field1020" to "field1025".
#pragma once

#include "ui/file_info_text.h"

#include <QDialog>

namespace velmora::ui {

// Gathers the facts for a device path with one file-system search.
FileInfo describeFile(const std::u16string& path, int32_t imageWidth, int32_t imageHeight,
                      int currentIndex, int entryCount);

class FileInfoDialog : public QDialog {
    Q_OBJECT
  public:
    FileInfoDialog(const FileInfo& info, QWidget* parent);
};

// Runs the dialog modally over the parent's window; returns its result (1 after OK).
int showFileInfoDialog(const FileInfo& info, QWidget* parent);

} // namespace velmora::ui
