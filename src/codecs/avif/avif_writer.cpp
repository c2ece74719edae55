// saveAvif: lossy 4:2:0 with the quantizer following the quality, or lossless at 100 (4:4:4,
// identity matrix, quantizer 0).
#include "codecs/readers.h"
#include "codecs/safe_file_writer.h"

#include <avif/avif.h>

#include <algorithm>
#include <memory>

namespace velmora::codecs {
namespace {

constexpr int kLosslessQuality = 100;

struct ImageDeleter {
    void operator()(avifImage* image) const { avifImageDestroy(image); }
};
struct EncoderDeleter {
    void operator()(avifEncoder* encoder) const { avifEncoderDestroy(encoder); }
};
struct OutputDeleter {
    void operator()(avifRWData* output) const { avifRWDataFree(output); }
};

// Quality 0 .. 99 onto the quantizers 63 (worst) .. 1.
int quantizerFor(int quality) {
    return AVIF_QUANTIZER_WORST_QUALITY -
           (std::clamp(quality, 0, 99) * AVIF_QUANTIZER_WORST_QUALITY + 50) / 100;
}

} // namespace

SaveResult saveAvif(const image::DibImage& image, std::u16string_view path, int quality) {
    if (!image.hasPixels()) {
        return {SaveCause::NoPicture};
    }
    const bool lossless = quality >= kLosslessQuality;
    const std::unique_ptr<avifImage, ImageDeleter> picture(
        avifImageCreate(static_cast<uint32_t>(image.width()), static_cast<uint32_t>(image.height()),
                        8, lossless ? AVIF_PIXEL_FORMAT_YUV444 : AVIF_PIXEL_FORMAT_YUV420));
    const std::unique_ptr<avifEncoder, EncoderDeleter> encoder(avifEncoderCreate());
    if (!picture || !encoder) {
        return {SaveCause::WriteFailed};
    }
    picture->yuvRange = AVIF_RANGE_FULL;
    if (lossless) {
        picture->matrixCoefficients = AVIF_MATRIX_COEFFICIENTS_IDENTITY;
    }
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, picture.get());
    rgb.format = AVIF_RGB_FORMAT_BGR;
    // The library only reads the rows it converts.
    rgb.pixels = const_cast<uint8_t*>(image.bits());
    rgb.rowBytes = static_cast<uint32_t>(image.stride());
    if (avifImageRGBToYUV(picture.get(), &rgb) != AVIF_RESULT_OK) {
        return {SaveCause::WriteFailed};
    }
    const int quantizer = lossless ? AVIF_QUANTIZER_LOSSLESS : quantizerFor(quality);
    encoder->minQuantizer = quantizer;
    encoder->maxQuantizer = quantizer;
    avifRWData output = AVIF_DATA_EMPTY;
    const std::unique_ptr<avifRWData, OutputDeleter> owned(&output);
    if (avifEncoderWrite(encoder.get(), picture.get(), &output) != AVIF_RESULT_OK) {
        return {SaveCause::WriteFailed};
    }
    return saveEncodedBytes(path, {output.data, output.size});
}

} // namespace velmora::codecs
