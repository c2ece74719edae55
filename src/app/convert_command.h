// --convert IN OUT: decodes a picture with the viewer's readers and writes it with the writer
// that OUT's ending names, without a window or a message box.
#pragma once

#include "codecs/load_image.h"

#include <QString>

#include <optional>

namespace velmora::app {

enum class OutputType { Unknown, Jpeg, Bmp, Png, Tiff, Webp, Avif };

// By the ending, any case: .jpg/.jpeg, .bmp, .png, .tif, .webp, .avif.
OutputType outputTypeFor(const QString& path);

struct [[nodiscard]] ConvertResult {
    bool ok = false;
    QString reason; // one line, set when ok is false
};

// Paths are host paths; they are reached through the device root. edits, when given, is the
// edit module's operation list, applied before writing; a list it refuses stops before anything
// is read or written.
// extras: what the save adds to the plain writer, as the viewer's settings say.
ConvertResult convertPicture(const QString& input, const QString& output, int quality,
                             const std::optional<QString>& edits = std::nullopt,
                             codecs::SaveExtras extras = {});

} // namespace velmora::app
