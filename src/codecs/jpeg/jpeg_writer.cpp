#include "codecs/jpeg/jpeg_destination.h"
#include "codecs/jpeg/jpeg_error.h"
#include "codecs/metadata/jpeg_markers.h"
#include "codecs/readers.h"

#include <algorithm>
#include <memory>

namespace velmora::codecs {
namespace {

constexpr int kRowsPerCall = 16;

// From this quality on, the fast DCT's coarse divisors come down to 1, where the library drops
// its vectorised quantiser: the accurate DCT is then both faster (about 3x at 99) and truer.
constexpr int kAccurateDctQuality = 96;

// Owns the library object; compress() only borrows it.
struct Compressor {
    jpeg::ErrorManager errors;
    jpeg_compress_struct library{};

    Compressor() { library.err = jpeg::installErrorManager(errors); }
    ~Compressor() { jpeg_destroy_compress(&library); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
};

// Encodes the image's rows as they stand (blue, green, red), after the header and the markers.
// Only trivially destructible locals: a library error jumps back into this frame.
bool compress(Compressor& compressor, jpeg_destination_mgr* destination,
              const image::DibImage& image, int quality, const std::vector<JpegMarker>& markers) {
    j_compress_ptr cinfo = &compressor.library;
    if (setjmp(compressor.errors.jump) != 0) {
        return false;
    }
    jpeg_create_compress(cinfo);
    cinfo->image_width = static_cast<JDIMENSION>(std::max(0, image.width()));
    cinfo->image_height = static_cast<JDIMENSION>(std::max(0, image.height()));
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(cinfo);
    cinfo->dest = destination;
    jpeg_set_quality(cinfo, quality, TRUE);
    cinfo->dct_method = quality >= kAccurateDctQuality ? JDCT_ISLOW : JDCT_IFAST;
    jpeg_start_compress(cinfo, TRUE);
    for (const JpegMarker& marker : markers) {
        jpeg_write_marker(cinfo, marker.code, marker.payload.data(),
                          static_cast<unsigned>(marker.payload.size()));
    }
    const uint32_t height = cinfo->image_height;
    while (cinfo->next_scanline < height) {
        JSAMPROW rows[kRowsPerCall];
        const uint32_t first = cinfo->next_scanline;
        const uint32_t count = std::min<uint32_t>(kRowsPerCall, height - first);
        for (uint32_t i = 0; i < count; ++i) {
            // The library only reads the rows it is given.
            rows[i] = const_cast<JSAMPLE*>(image.row(static_cast<int32_t>(first + i)));
        }
        jpeg_write_scanlines(cinfo, rows, count);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

} // namespace

SaveResult saveJpeg(const image::DibImage& image, std::u16string_view path, int quality,
                    platform::Durability durability, const image::PictureMetadata* metadata) {
    if (!image.hasPixels()) {
        return {SaveCause::NoPicture};
    }
    const std::vector<JpegMarker> markers =
        metadata != nullptr
            ? jpegMarkersFor(*metadata, profileOfPixels(*metadata), image.width(), image.height())
            : std::vector<JpegMarker>();
    SafeFileWriter writer(path, durability);
    auto destination = std::make_unique<jpeg::WriterDestination>();
    Compressor compressor;
    const bool written =
        writer.isOpen() && compress(compressor, jpeg::prepareDestination(*destination, writer),
                                    image, quality, markers);
    return {written && writer.commit() ? SaveCause::Saved : SaveCause::WriteFailed};
}

} // namespace velmora::codecs
