#include "browse/picture_preview.h"

#include "codecs/image_format.h"
#include "codecs/jpeg/jpeg_reader.h"
#include "image/view_geometry.h"

namespace velmora::browse {
namespace {

// A full-HD surface: what a window commonly has before its real size is known.
constexpr image::ViewSize kCommonSurface{1920, 1080};

int32_t reducedSide(int32_t side, int denominator) {
    return (side + denominator - 1) / denominator;
}

} // namespace

int previewDenominator(image::ViewSize whole, const image::ViewRequest& request) {
    if (whole.width < 1 || whole.height < 1 || request.surface.width < 1 ||
        request.surface.height < 1) {
        return 1;
    }
    image::ViewState shown;
    image::ViewGeometry(shown, whole, request.surface, request.options).applyInitialZoom();
    for (const int denominator : {8, 4, 2}) {
        if (reducedSide(whole.width, denominator) >= shown.displayWidth &&
            reducedSide(whole.height, denominator) >= shown.displayHeight) {
            return denominator;
        }
    }
    return 1;
}

codecs::LoadResult loadPreview(image::LoadedImage& image, std::u16string_view path,
                               const image::ViewRequest& request, image::ViewSize& whole) {
    if (request.surface.width < 1 ||
        codecs::formatFromExtension(path) != codecs::ImageFormat::Jpeg) {
        return {codecs::LoadCause::Unsupported};
    }
    const auto size = codecs::jpeg::jpegPictureSize(path);
    const int denominator = size ? previewDenominator(*size, request) : 1;
    if (denominator == 1) {
        return {codecs::LoadCause::Unsupported};
    }
    image.path = path;
    const codecs::LoadResult read = codecs::jpeg::loadJpegReduced(image, path, denominator);
    if (read.cause == codecs::LoadCause::LoadedNotUpright) {
        return {codecs::LoadCause::Unsupported}; // its sides would not match the whole picture's
    }
    if (read) {
        whole = *size;
    }
    return read;
}

bool isPreviewed(std::u16string_view path, const image::ViewRequest& request) {
    if (codecs::formatFromExtension(path) != codecs::ImageFormat::Jpeg) {
        return false;
    }
    const auto size = codecs::jpeg::jpegPictureSize(path);
    return size && previewDenominator(*size, request) > 1;
}

bool likelyPreviewed(std::u16string_view path, const image::ViewOptions& options) {
    return isPreviewed(path, {kCommonSurface, options});
}

} // namespace velmora::browse
