// --convert IN OUT: decodes a picture with the viewer's readers and writes it with the writer
// that OUT's ending names, without a window or a message box.
#pragma once

#include <QString>

namespace velmora::app {

enum class OutputType { Unknown, Jpeg, Bmp, Png, Tiff };

// By the ending, any case: .jpg/.jpeg, .bmp, .png, .tif.
OutputType outputTypeFor(const QString& path);

struct ConvertResult {
    bool ok = false;
    QString reason; // one line, set when ok is false
};

// Paths are host paths; they are reached through the device root.
ConvertResult convertPicture(const QString& input, const QString& output, int quality);

} // namespace velmora::app
