#include "codecs/tiff/tiff_decoder.h"

#include "codecs/corrections/orientation.h"
#include "codecs/corrections/picture_corrections.h"
#include "codecs/corrections/stored_corrections.h"
#include "codecs/tiff/tiff_open.h"

#include <tiffio.h>

#include <algorithm>
#include <memory>

namespace velmora::codecs {
namespace {

struct RasterFree {
    void operator()(uint32_t* raster) const { _TIFFfree(raster); }
};
using Raster = std::unique_ptr<uint32_t[], RasterFree>;

Raster allocateRaster(uint64_t pixels) {
    if (pixels == 0 || pixels > static_cast<uint64_t>(INT64_MAX) / 4) {
        return nullptr;
    }
    return Raster(static_cast<uint32_t*>(_TIFFmalloc(static_cast<tmsize_t>(pixels * 4))));
}

// The library's RGBA reading state, ended when the decode ends.
class RgbaImage {
  public:
    bool begin(TIFF* tiff) {
        char message[1024] = {};
        begun_ = TIFFRGBAImageOK(tiff, message) != 0 &&
                 TIFFRGBAImageBegin(&state_, tiff, /*stopOnError=*/0, message) != 0;
        return begun_;
    }
    ~RgbaImage() {
        if (begun_) {
            TIFFRGBAImageEnd(&state_);
        }
    }
    TIFFRGBAImage& state() { return state_; }

  private:
    TIFFRGBAImage state_{};
    bool begun_ = false;
};

// The library turns a bottom-up file top-down one read at a time; read in bands, the bands
// themselves then go in reverse order.
bool storedBottomUp(uint16_t orientation) {
    return orientation == ORIENTATION_BOTLEFT || orientation == ORIENTATION_BOTRIGHT ||
           orientation == ORIENTATION_LEFTBOT || orientation == ORIENTATION_RIGHTBOT;
}

// Rows of one strip or one row of tiles, at least 1, at most the length.
uint32_t unitRows(TIFF* tiff, uint32_t length) {
    uint32_t rows = 0;
    if (TIFFIsTiled(tiff) != 0) {
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &rows);
    } else {
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rows);
    }
    return std::clamp<uint32_t>(rows, 1, length);
}

// Rows per band: whole strips only, so that no strip is decoded twice.
uint32_t bandRows(uint32_t width, uint32_t length, uint32_t unit, uint64_t maxRasterBytes) {
    const uint64_t unitBytes = uint64_t{width} * unit * 4;
    const uint64_t units = std::max<uint64_t>(maxRasterBytes / unitBytes, 1);
    return static_cast<uint32_t>(std::min<uint64_t>(units * unit, length));
}

// The library gives colours premultiplied by the alpha of extra samples, associated or not;
// this undoes it, rounded.
uint8_t unpremultiplied(uint32_t c, uint32_t a) {
    return a == 0 ? static_cast<uint8_t>(c)
                  : static_cast<uint8_t>(std::min(255U, (c * 255 + a / 2) / a));
}

void copyRowsBgr(const uint32_t* raster, uint32_t width, uint32_t rows, uint32_t firstRow,
                 image::DibImage& image) {
    const bool withAlpha = image.hasAlpha();
    for (uint32_t r = 0; r < rows; ++r) {
        const uint32_t* source = raster + static_cast<size_t>(r) * width;
        const auto y = static_cast<int32_t>(firstRow + r);
        uint8_t* target = image.row(y);
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t pixel = source[x];
            target[0] = static_cast<uint8_t>(TIFFGetB(pixel));
            target[1] = static_cast<uint8_t>(TIFFGetG(pixel));
            target[2] = static_cast<uint8_t>(TIFFGetR(pixel));
            target += 3;
        }
        if (!withAlpha) {
            continue;
        }
        uint8_t* colours = image.row(y);
        uint8_t* alpha = image.alphaRow(y);
        for (uint32_t x = 0; x < width; ++x, colours += 3) {
            const uint32_t a = TIFFGetA(source[x]);
            alpha[x] = static_cast<uint8_t>(a);
            for (int ch = 0; ch < 3; ++ch) {
                colours[ch] = unpremultiplied(colours[ch], a);
            }
        }
    }
}

// The library's RGBA reading already undoes the mirroring of every orientation, taking each
// sideways one for its upright counterpart (5 as 1, 6 as 2, 7 as 3, 8 as 4). What is left of a
// sideways orientation is a mirror across a diagonal: 5 and 7 leave the main diagonal (the turn
// of orientation 5), 6 and 8 the other (the turn of orientation 7).
int orientationLeftAfterLibrary(uint16_t orientation) {
    switch (orientation) {
    case ORIENTATION_LEFTTOP:
    case ORIENTATION_RIGHTBOT:
        return ORIENTATION_LEFTTOP;
    case ORIENTATION_RIGHTTOP:
    case ORIENTATION_LEFTBOT:
        return ORIENTATION_RIGHTBOT;
    default:
        return kUpright;
    }
}

// The bytes of a tag that holds a count and a pointer (the ICC profile, the XMP packet).
std::span<const uint8_t> tagBytes(TIFF* tiff, uint32_t tag) {
    uint32_t size = 0;
    void* data = nullptr;
    if (TIFFGetField(tiff, tag, &size, &data) == 0 || data == nullptr) {
        return {};
    }
    return {static_cast<const uint8_t*>(data), size};
}

// The turn the reading made in all: the library's mirror, then what was left of the orientation
// when that was turned upright too.
image::Turn turnMade(uint16_t orientation, bool turnedRest) {
    const image::Turn whole = image::Turn::uprighting(orientation);
    const image::Turn rest = image::Turn::uprighting(orientationLeftAfterLibrary(orientation));
    if (turnedRest) {
        return whole;
    }
    for (const uint8_t quarterTurns : {0, 1, 2, 3}) {
        for (const bool mirrored : {false, true}) {
            const image::Turn library{quarterTurns, mirrored};
            if (library.then(rest) == whole) {
                return library;
            }
        }
    }
    return {};
}

// Converts the colours by the embedded ICC profile (tag 34675) and turns the picture upright as
// the corrections ask, noting in metadata (when given) the profile, the XMP packet (tag 700) and
// what was done. False when the picture could not be turned upright.
bool correct(TIFF* tiff, uint16_t orientation, image::DibImage& image,
             image::PictureMetadata* metadata) {
    const int left = orientationLeftAfterLibrary(orientation);
    const bool upright =
        applyStoredCorrections(image, tagBytes(tiff, TIFFTAG_ICCPROFILE), left, metadata);
    if (metadata != nullptr) {
        const std::span<const uint8_t> xmp = tagBytes(tiff, TIFFTAG_XMLPACKET);
        metadata->xmp.assign(xmp.begin(), xmp.end());
        metadata->readerTurn = turnMade(orientation, upright && pictureCorrections().upright);
    }
    return upright;
}

} // namespace

TiffDecodeResult decodeTiff(TIFF* tiff, image::DibImage& image, const TiffDecodeOptions& options,
                            image::PictureMetadata* metadata) {
    if (tiff == nullptr) {
        return TiffDecodeResult::NotTiff;
    }
    uint32_t width = 0;
    uint32_t length = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &length);
    const auto maxSide = static_cast<uint32_t>(std::max(options.maxSide, 0));
    if (width == 0 || length == 0 || width > maxSide || length > maxSide) {
        return TiffDecodeResult::BadSize;
    }
    RgbaImage rgba;
    if (TIFFScanlineSize64(tiff) == 0 || !rgba.begin(tiff)) {
        return TiffDecodeResult::Unsupported;
    }
    // Extra samples of alpha (associated or not) fill the alpha plane.
    if (!image.create(static_cast<int32_t>(width), static_cast<int32_t>(length)) ||
        (rgba.state().alpha != 0 && !image.createAlpha())) {
        return TiffDecodeResult::CreateFailed;
    }
    const uint32_t unit = unitRows(tiff, length);
    uint32_t band = bandRows(width, length, unit, options.maxRasterBytes);
    Raster raster = allocateRaster(uint64_t{width} * band);
    if (raster == nullptr && band > unit) {
        band = unit;
        raster = allocateRaster(uint64_t{width} * band);
    }
    if (raster == nullptr) {
        return TiffDecodeResult::NoMemory;
    }
    TIFFRGBAImage& state = rgba.state();
    const bool reversedBands = storedBottomUp(state.orientation);
    state.req_orientation = ORIENTATION_TOPLEFT;
    for (uint32_t top = 0; top < length; top += band) {
        const uint32_t rows = std::min(band, length - top);
        state.row_offset = static_cast<int>(top);
        state.col_offset = 0;
        // A damaged strip does not stop the read (its rows show what the library could
        // decode); only a file whose pixels cannot be read at all fails here.
        if (TIFFRGBAImageGet(&state, raster.get(), width, rows) == 0) {
            return TiffDecodeResult::Corrupt;
        }
        copyRowsBgr(raster.get(), width, rows, reversedBands ? length - top - rows : top, image);
    }
    image.dropAlphaIfOpaque();
    return correct(tiff, state.orientation, image, metadata) ? TiffDecodeResult::Ok
                                                             : TiffDecodeResult::NotUpright;
}

TiffDecodeResult decodeTiffMemory(std::span<const uint8_t> bytes, image::DibImage& image,
                                  const TiffDecodeOptions& options,
                                  image::PictureMetadata* metadata) {
    const TiffHandle tiff = openTiffInMemory(bytes);
    return decodeTiff(tiff.get(), image, options, metadata);
}

} // namespace velmora::codecs
