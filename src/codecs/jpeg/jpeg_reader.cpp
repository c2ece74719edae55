#include "codecs/jpeg/jpeg_reader.h"

#include "codecs/corrections/colour_profile.h"
#include "codecs/corrections/orientation.h"
#include "codecs/corrections/picture_corrections.h"
#include "codecs/corrections/row_conversion.h"
#include "codecs/jpeg/jpeg_error.h"
#include "codecs/jpeg/jpeg_source.h"
#include "codecs/readers.h"
#include "codecs/reduction.h"
#include "platform/regular_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <stop_token>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace velmora::codecs::jpeg {
namespace {

// Bounds what the library may allocate for itself (whole-image coefficient buffers of
// progressive files); a header asking for more ends in a library error, not in an allocation.
constexpr long kLibraryMemoryLimit = 1L << 30;

// Rows handed to the library per call; they are the image's own rows.
constexpr int kRowsPerCall = 16;

// The output size the library is asked for: the denominator of a fixed reduction, or a box the
// picture should reduce to (the largest reduction that keeps it at least the box's size).
struct Box {
    int width;
    int height;
};

struct Reduction {
    const Box* box = nullptr;
    int denominator = 1;
};

// Owns the library object; the setjmp functions below only borrow it.
struct Decompressor {
    ErrorManager errors;
    jpeg_decompress_struct library{};

    Decompressor() { library.err = installErrorManager(errors); }
    ~Decompressor() { jpeg_destroy_decompress(&library); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
};

J_COLOR_SPACE outputSpaceFor(J_COLOR_SPACE stored) {
    // Four-component files are converted by hand; everything else the library turns into the
    // image's blue-green-red order directly (grey included).
    return (stored == JCS_CMYK || stored == JCS_YCCK) ? JCS_CMYK : JCS_EXT_BGR;
}

// Reads the header and fixes the output size; keeps the EXIF, XMP and ICC markers when they are
// wanted, and the comments with them when the metadata is. Only trivially destructible locals:
// a library error jumps back into this frame.
bool readHeader(Decompressor& decompressor, jpeg_source_mgr* source, Reduction reduction,
                const PictureCorrections& wanted, bool keepMetadata) {
    j_decompress_ptr cinfo = &decompressor.library;
    if (setjmp(decompressor.errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = kLibraryMemoryLimit;
    cinfo->src = source;
    if (wanted.upright || keepMetadata) {
        jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
    }
    if (wanted.colourProfiles || keepMetadata) {
        jpeg_save_markers(cinfo, JPEG_APP0 + 2, 0xFFFF);
    }
    if (keepMetadata) {
        jpeg_save_markers(cinfo, JPEG_COM, 0xFFFF);
    }
    jpeg_read_header(cinfo, TRUE);
    cinfo->dct_method = JDCT_IFAST;
    cinfo->out_color_space = outputSpaceFor(cinfo->jpeg_color_space);
    cinfo->scale_num = 1;
    cinfo->scale_denom = static_cast<unsigned>(reduction.denominator);
    if (const Box* box = reduction.box) {
        cinfo->scale_denom = static_cast<unsigned>(
            reductionFor(cinfo->image_width, cinfo->image_height, box->width, box->height));
    }
    jpeg_calc_output_dimensions(cinfo);
    return true;
}

// The data after a name at the start of a saved marker, for the first such marker of the code.
std::optional<std::span<const uint8_t>> markerData(const jpeg_decompress_struct& cinfo, int code,
                                                   std::string_view name) {
    for (jpeg_saved_marker_ptr marker = cinfo.marker_list; marker != nullptr;
         marker = marker->next) {
        if (marker->marker == code && marker->data_length >= name.size() &&
            std::memcmp(marker->data, name.data(), name.size()) == 0) {
            return std::span<const uint8_t>(marker->data, marker->data_length).subspan(name.size());
        }
    }
    return std::nullopt;
}

constexpr std::string_view kExifName{"Exif\0\0", 6};
constexpr std::string_view kXmpName{"http://ns.adobe.com/xap/1.0/\0", 29};

// The orientation of the first APP1 marker that holds EXIF data.
int storedOrientation(const jpeg_decompress_struct& cinfo) {
    const auto exif = markerData(cinfo, JPEG_APP0 + 1, kExifName);
    return exif ? exifOrientation(*exif) : kUpright;
}

void collectMetadata(const jpeg_decompress_struct& cinfo, image::PictureMetadata& metadata) {
    if (const auto exif = markerData(cinfo, JPEG_APP0 + 1, kExifName)) {
        metadata.exif.assign(exif->begin(), exif->end());
    }
    if (const auto xmp = markerData(cinfo, JPEG_APP0 + 1, kXmpName)) {
        metadata.xmp.assign(xmp->begin(), xmp->end());
    }
    for (jpeg_saved_marker_ptr marker = cinfo.marker_list; marker != nullptr;
         marker = marker->next) {
        if (marker->marker == JPEG_COM) {
            metadata.comments.emplace_back(reinterpret_cast<const char*>(marker->data),
                                           marker->data_length);
        }
    }
}

struct MallocFree {
    void operator()(JOCTET* bytes) const { std::free(bytes); }
};

// Joins the ICC_PROFILE chunks of the APP2 markers; false when there are none or they do not
// form a whole profile. Only trivially destructible locals, as for readHeader.
bool readIccProfile(Decompressor& decompressor, JOCTET** profile, unsigned* size) {
    if (setjmp(decompressor.errors.jump) != 0) {
        return false;
    }
    return jpeg_read_icc_profile(&decompressor.library, profile, size) != 0;
}

std::vector<uint8_t> iccProfile(Decompressor& decompressor) {
    JOCTET* bytes = nullptr;
    unsigned size = 0;
    const bool found = readIccProfile(decompressor, &bytes, &size);
    const std::unique_ptr<JOCTET, MallocFree> profile(bytes);
    return found && bytes != nullptr ? std::vector<uint8_t>(bytes, bytes + size)
                                     : std::vector<uint8_t>();
}

// The transform of the embedded profile for the pixels the library puts out: RGB for colour
// files, the stored inks for four-component ones (grey files are left as they are).
std::shared_ptr<const ColourTransform> colourTransformFor(const jpeg_decompress_struct& cinfo,
                                                          std::span<const uint8_t> profile) {
    if (profile.empty() || cinfo.num_components < 3) {
        return nullptr;
    }
    PixelLayout layout = PixelLayout::Bgr;
    if (cinfo.out_color_space == JCS_CMYK) {
        layout = cinfo.saw_Adobe_marker ? PixelLayout::InvertedCmyk : PixelLayout::Cmyk;
    }
    return transformFromProfile(profile, layout);
}

// Stored C, M, Y, K to blue, green, red: each channel is its ink plus K, less 255, at least 0.
void convertCmykRow(const uint8_t* cmyk, uint8_t* bgr, uint32_t width) {
    for (uint32_t x = 0; x < width; ++x) {
        const int k = cmyk[4 * x + 3] - 255;
        bgr[3 * x] = static_cast<uint8_t>(std::max(0, cmyk[4 * x + 2] + k));
        bgr[3 * x + 1] = static_cast<uint8_t>(std::max(0, cmyk[4 * x + 1] + k));
        bgr[3 * x + 2] = static_cast<uint8_t>(std::max(0, cmyk[4 * x] + k));
    }
}

// Decodes every row into the image (already created at the output size), through cmykRow and
// the colour transform, when there is one, if the output is four-component. Three-component
// rows are reported to conversion, when given, as they are done. A stop asked for ends the
// decode between calls (false). Only trivially destructible locals, as for readHeader.
bool readRows(Decompressor& decompressor, image::DibImage& image, uint8_t* cmykRow,
              const ColourTransform* colour, RowConversion* conversion,
              const std::stop_token& stop) {
    j_decompress_ptr cinfo = &decompressor.library;
    if (setjmp(decompressor.errors.jump) != 0) {
        return false;
    }
    jpeg_start_decompress(cinfo);
    const uint32_t height = cinfo->output_height;
    if (cmykRow != nullptr) {
        while (cinfo->output_scanline < height) {
            if (stop.stop_requested()) {
                return false;
            }
            const auto y = static_cast<int32_t>(cinfo->output_scanline);
            JSAMPROW row = cmykRow;
            if (jpeg_read_scanlines(cinfo, &row, 1) != 1) {
                continue;
            }
            if (colour != nullptr) {
                colour->convert(cmykRow, image.row(y), cinfo->output_width);
            } else {
                convertCmykRow(cmykRow, image.row(y), cinfo->output_width);
            }
        }
    } else {
        while (cinfo->output_scanline < height) {
            if (stop.stop_requested()) {
                return false;
            }
            JSAMPROW rows[kRowsPerCall];
            const uint32_t first = cinfo->output_scanline;
            const uint32_t count = std::min<uint32_t>(kRowsPerCall, height - first);
            for (uint32_t i = 0; i < count; ++i) {
                rows[i] = image.row(static_cast<int32_t>(first + i));
            }
            jpeg_read_scanlines(cinfo, rows, count);
            if (conversion != nullptr) {
                conversion->rowsDecoded(static_cast<int32_t>(cinfo->output_scanline));
            }
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

LoadResult decode(image::DibImage& image, jpeg_source_mgr* source, Reduction reduction,
                  image::PictureMetadata* metadata, const std::stop_token& stop = {}) {
    Decompressor decompressor;
    const PictureCorrections wanted = pictureCorrections();
    if (!readHeader(decompressor, source, reduction, wanted, metadata != nullptr)) {
        return {LoadCause::Undecodable};
    }
    const jpeg_decompress_struct& cinfo = decompressor.library;
    const int orientation = wanted.upright ? storedOrientation(cinfo) : kUpright;
    std::vector<uint8_t> profile;
    if (wanted.colourProfiles || metadata != nullptr) {
        profile = iccProfile(decompressor);
    }
    const auto colour = wanted.colourProfiles ? colourTransformFor(cinfo, profile) : nullptr;
    // The saved markers go with the library's image memory when the rows are done.
    if (metadata != nullptr) {
        collectMetadata(cinfo, *metadata);
    }
    // The size limits of create reject an oversized header here, before the library allocates.
    if (!image.create(static_cast<int32_t>(cinfo.output_width),
                      static_cast<int32_t>(cinfo.output_height))) {
        return {LoadCause::OutOfMemory};
    }
    std::unique_ptr<uint8_t[]> cmykRow;
    if (cinfo.out_color_space == JCS_CMYK) {
        cmykRow.reset(new (std::nothrow) uint8_t[size_t{4} * cinfo.output_width]);
        if (!cmykRow) {
            return {LoadCause::DecoderOutOfMemory};
        }
    }
    // Three-component rows are converted in place while the rest decode.
    std::optional<RowConversion> conversion;
    if (colour && !cmykRow) {
        conversion.emplace(*colour, image);
    }
    if (!readRows(decompressor, image, cmykRow.get(), colour.get(),
                  conversion ? &*conversion : nullptr, stop)) {
        return {stop.stop_requested() ? LoadCause::Stopped : LoadCause::Undecodable};
    }
    if (conversion) {
        conversion->finish();
    }
    const bool upright = turnUpright(image, orientation);
    if (metadata != nullptr) {
        metadata->icc = std::move(profile);
        metadata->coloursConverted = colour != nullptr;
        metadata->readerTurn = upright ? image::Turn::uprighting(orientation) : image::Turn{};
    }
    return {upright ? LoadCause::Loaded : LoadCause::LoadedNotUpright};
}

image::FileStamp stampOf(std::FILE* file) {
    struct stat status {};
    if (fstat(fileno(file), &status) != 0) {
        return {};
    }
    return {static_cast<uint64_t>(status.st_size),
            int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec};
}

LoadResult decodeFile(image::DibImage& image, std::u16string_view path, Reduction reduction,
                      image::PictureMetadata* metadata, const std::stop_token& stop = {}) {
    const platform::FilePtr file = platform::openRegularFile(path);
    if (!file) {
        return {LoadCause::CannotOpen};
    }
    // The source reads whole blocks itself; a stdio buffer would only copy them twice.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    auto source = std::make_unique<FileSource>();
    const LoadResult result =
        decode(image, prepareFileSource(*source, file.get()), reduction, metadata, stop);
    if (metadata != nullptr && result && reduction.box == nullptr && reduction.denominator == 1) {
        metadata->jpegSource = stampOf(file.get());
    }
    return result;
}

// Orientations 5 to 8 store the picture on its side.
bool turnsSideways(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

} // namespace

LoadResult decodeJpegFromMemory(image::DibImage& image, const uint8_t* data, size_t size) {
    MemorySource source;
    return decode(image, prepareMemorySource(source, data, size), {}, nullptr);
}

LoadResult decodeJpegScaledFromMemory(image::DibImage& image, const uint8_t* data, size_t size,
                                      int boxWidth, int boxHeight) {
    MemorySource source;
    const Box box{boxWidth, boxHeight};
    return decode(image, prepareMemorySource(source, data, size), {&box}, nullptr);
}

std::optional<image::ViewSize> jpegPictureSize(std::u16string_view path) {
    const platform::FilePtr file = platform::openRegularFile(path);
    if (!file) {
        return std::nullopt;
    }
    auto source = std::make_unique<FileSource>();
    Decompressor decompressor;
    const PictureCorrections wanted{pictureCorrections().upright, false};
    if (!readHeader(decompressor, prepareFileSource(*source, file.get()), {}, wanted, false)) {
        return std::nullopt;
    }
    const jpeg_decompress_struct& cinfo = decompressor.library;
    // The header's sides are at most 65535: they fit.
    image::ViewSize size{static_cast<int32_t>(cinfo.image_width),
                         static_cast<int32_t>(cinfo.image_height)};
    if (wanted.upright && turnsSideways(storedOrientation(cinfo))) {
        std::swap(size.width, size.height);
    }
    return size;
}

LoadResult loadJpegReduced(image::DibImage& image, std::u16string_view path, int denominator) {
    return decodeFile(image, path, {nullptr, denominator}, nullptr);
}

} // namespace velmora::codecs::jpeg

namespace velmora::codecs {

LoadResult loadJpeg(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata, const std::stop_token& stop) {
    return jpeg::decodeFile(image, path, {}, metadata, stop);
}

LoadResult loadJpegScaled(image::DibImage& image, std::u16string_view path, int boxWidth,
                          int boxHeight) {
    const jpeg::Box box{boxWidth, boxHeight};
    return jpeg::decodeFile(image, path, {&box}, nullptr);
}

} // namespace velmora::codecs
