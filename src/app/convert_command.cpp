#include "app/convert_command.h"

#include "codecs/load_image.h"
#include "codecs/readers.h"
#include "edit/edit_list.h"
#include "image/flatten.h"
#include "image/loaded_image.h"
#include "platform/device_fs.h"

#include <optional>

namespace velmora::app {
namespace {

std::optional<std::u16string> devicePathOf(const QString& hostPath) {
    return platform::toDevicePath(std::filesystem::path(hostPath.toStdString()));
}

ConvertResult failure(const QString& reason) {
    return {false, reason};
}

// The save dialog's type index of the four types it offers: JPEG 0, BMP 1, PNG 2, TIFF 3.
int typeIndexOf(OutputType type) {
    return static_cast<int>(type) - static_cast<int>(OutputType::Jpeg);
}

// The .webp and .avif writers take colours only: with alpha kept, a picture with a plane is
// written flattened over white, as a JPEG is.
codecs::SaveResult writeColoursOnly(const image::LoadedImage& picture, std::u16string_view path,
                                    OutputType type, int quality, bool keepAlpha) {
    image::DibImage flat;
    const bool flatten = keepAlpha && picture.hasAlpha();
    if (flatten && !image::flattenOverWhite(picture, flat)) {
        return {codecs::SaveCause::WriteFailed};
    }
    const image::DibImage& written = flatten ? flat : static_cast<const image::DibImage&>(picture);
    return type == OutputType::Webp ? codecs::saveWebp(written, path, quality)
                                    : codecs::saveAvif(written, path, quality);
}

codecs::SaveResult write(const image::LoadedImage& picture, std::u16string_view path,
                         OutputType type, int quality, codecs::SaveExtras extras) {
    switch (type) {
    case OutputType::Webp:
    case OutputType::Avif:
        return writeColoursOnly(picture, path, type, quality, extras.keepAlpha);
    default:
        // The dialog's types keep what the file held, and turn a JPEG by its own data.
        return codecs::saveLoadedPicture(picture, path, typeIndexOf(type), quality, extras);
    }
}

} // namespace

OutputType outputTypeFor(const QString& path) {
    const QString lower = path.toLower();
    if (lower.endsWith(QLatin1String(".jpg")) || lower.endsWith(QLatin1String(".jpeg"))) {
        return OutputType::Jpeg;
    }
    if (lower.endsWith(QLatin1String(".bmp"))) {
        return OutputType::Bmp;
    }
    if (lower.endsWith(QLatin1String(".png"))) {
        return OutputType::Png;
    }
    if (lower.endsWith(QLatin1String(".tif"))) {
        return OutputType::Tiff;
    }
    if (lower.endsWith(QLatin1String(".webp"))) {
        return OutputType::Webp;
    }
    if (lower.endsWith(QLatin1String(".avif"))) {
        return OutputType::Avif;
    }
    return OutputType::Unknown;
}

ConvertResult convertPicture(const QString& input, const QString& output, int quality,
                             const std::optional<QString>& edits, codecs::SaveExtras extras) {
    const edit::ParsedEditList editList =
        edits ? edit::parseEditList(edits->toStdString()) : edit::ParsedEditList{};
    if (!editList.error.empty()) {
        return failure(QString::fromStdString(editList.error));
    }
    const OutputType type = outputTypeFor(output);
    if (type == OutputType::Unknown) {
        return failure(
            QStringLiteral(
                "unknown output type (use .jpg, .jpeg, .bmp, .png, .tif, .webp or .avif): %1")
                .arg(output));
    }
    const auto source = devicePathOf(input);
    const auto target = devicePathOf(output);
    if (!source || !target) {
        return failure(
            QStringLiteral("path outside the device root: %1").arg(source ? output : input));
    }
    image::LoadedImage picture;
    if (!codecs::loadImage(picture, *source)) {
        return failure(QStringLiteral("cannot read a picture from %1").arg(input));
    }
    if (const std::string reason = edit::applyEditList(picture, editList.operations);
        !reason.empty()) {
        return failure(QString::fromStdString(reason));
    }
    // Turns and flips alone take the lossless path of a JPEG save, as in the viewer.
    picture.turnsSinceLoad = edit::onlyTurns(editList.operations);
    if (!write(picture, *target, type, quality, extras)) {
        return failure(QStringLiteral("cannot write %1").arg(output));
    }
    return {true, {}};
}

} // namespace velmora::app
