#include "codecs/tiff/tiff_encoder.h"

#include <tiffio.h>

#include <vector>

namespace velmora::codecs {
namespace {

bool writeFields(const image::DibImage& image, TIFF* tiff) {
    return TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(image.width())) != 0 &&
           TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(image.height())) != 0 &&
           TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8) != 0 &&
           TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3) != 0 &&
           TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE) != 0 &&
           TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) != 0 &&
           TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) != 0 &&
           TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) != 0 &&
           TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0)) != 0;
}

} // namespace

bool encodeTiff(const image::DibImage& image, TIFF* tiff) {
    if (tiff == nullptr || !image.hasPixels() || !writeFields(image, tiff)) {
        return false;
    }
    std::vector<uint8_t> rgb(static_cast<size_t>(image.width()) * 3);
    for (int32_t y = 0; y < image.height(); ++y) {
        const uint8_t* bgr = image.row(y);
        for (size_t i = 0; i < rgb.size(); i += 3) {
            rgb[i] = bgr[i + 2];
            rgb[i + 1] = bgr[i + 1];
            rgb[i + 2] = bgr[i];
        }
        if (TIFFWriteScanline(tiff, rgb.data(), static_cast<uint32_t>(y), 0) < 0) {
            return false;
        }
    }
    return TIFFFlush(tiff) != 0;
}

} // namespace velmora::codecs
