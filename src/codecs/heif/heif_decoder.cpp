#include "codecs/heif/heif_decoder.h"

#include "codecs/corrections/orientation.h"
#include "codecs/corrections/picture_corrections.h"
#include "codecs/corrections/stored_corrections.h"
#include "codecs/metadata/exif_payload.h"

#include <libheif/heif.h>

#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

namespace velmora::codecs::heif {
namespace {

// Grid pictures are decoded tile by tile on this many threads at most.
constexpr int kDecodingThreads = 4;

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};
using Context = std::unique_ptr<heif_context, ContextFree>;
using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;
using Picture = std::unique_ptr<heif_image, ImageRelease>;
using Options = std::unique_ptr<heif_decoding_options, OptionsFree>;

// The library's plugins and tables are set up once for the process and kept.
bool libraryReady() {
    static const bool ready = heif_init(nullptr).code == heif_error_Ok;
    return ready;
}

// Why the library refused the file's structure.
LoadCause readFailure(const heif_error& error) {
    if (error.subcode == heif_suberror_Security_limit_exceeded) {
        return LoadCause::TooLarge;
    }
    if (error.code == heif_error_Memory_allocation_error) {
        return LoadCause::DecoderOutOfMemory;
    }
    return error.code == heif_error_Unsupported_feature ? LoadCause::Undecodable
                                                        : LoadCause::Faulty;
}

// Why the primary image did not decode. Over the limit means a coded picture larger than the
// image it belongs to: the data is at fault, not the size.
LoadCause decodeFailure(const heif_error& error) {
    return error.code == heif_error_Memory_allocation_error &&
                   error.subcode != heif_suberror_Security_limit_exceeded
               ? LoadCause::DecoderOutOfMemory
               : LoadCause::Undecodable;
}

bool withinLimits(int64_t width, int64_t height, const HeifDecodeLimits& limits) {
    return width <= image::kMaxImageSide && height <= image::kMaxImageSide &&
           width * height <= std::min(limits.maxPixels, image::kMaxImagePixels);
}

// Both the stored size and the size after the file's crop and turns must be within the limits.
bool handleWithinLimits(const heif_image_handle* handle, const HeifDecodeLimits& limits) {
    return withinLimits(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle),
                        limits) &&
           withinLimits(heif_image_handle_get_ispe_width(handle),
                        heif_image_handle_get_ispe_height(handle), limits);
}

// The longest side the primary image's coded pictures may have: its own sides with room for
// the coding's alignment.
int codedSideLimit(const heif_image_handle* handle) {
    constexpr int kAlignment = 64;
    return std::max({heif_image_handle_get_width(handle), heif_image_handle_get_height(handle),
                     heif_image_handle_get_ispe_width(handle),
                     heif_image_handle_get_ispe_height(handle)}) +
           kAlignment;
}

// Red, green, blue samples of 8 bits to the image's blue, green, red.
// Red, green, blue (and alpha when the image has a plane) bytes, channels a pixel.
void copyRows8(const uint8_t* source, int stride, int channels, image::DibImage& image) {
    for (int32_t y = 0; y < image.height(); ++y) {
        const uint8_t* in = source + static_cast<size_t>(y) * static_cast<size_t>(stride);
        uint8_t* out = image.row(y);
        uint8_t* alpha = image.hasAlpha() ? image.alphaRow(y) : nullptr;
        for (int32_t x = 0; x < image.width(); ++x, in += channels, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            if (alpha != nullptr) {
                alpha[x] = in[3];
            }
        }
    }
}

// Red, green, blue (and alpha) samples of 9 to 16 bits (little-endian words) rounded to 8 bits.
void copyRowsDeep(const uint8_t* source, int stride, int bits, int channels,
                  image::DibImage& image) {
    const uint32_t maxValue = (1U << bits) - 1;
    std::array<uint8_t, 65536> rounded{};
    for (uint32_t v = 0; v <= maxValue; ++v) {
        rounded[v] = static_cast<uint8_t>((v * 255 + maxValue / 2) / maxValue);
    }
    const auto sample = [&](const uint8_t* word) {
        return rounded[std::min<uint32_t>(word[0] | word[1] << 8, maxValue)];
    };
    for (int32_t y = 0; y < image.height(); ++y) {
        const uint8_t* in = source + static_cast<size_t>(y) * static_cast<size_t>(stride);
        uint8_t* out = image.row(y);
        uint8_t* alpha = image.hasAlpha() ? image.alphaRow(y) : nullptr;
        for (int32_t x = 0; x < image.width(); ++x, in += 2 * channels, out += 3) {
            out[0] = sample(in + 4);
            out[1] = sample(in + 2);
            out[2] = sample(in);
            if (alpha != nullptr) {
                alpha[x] = sample(in + 6);
            }
        }
    }
}

std::vector<uint8_t> rawColourProfile(const heif_image_handle* handle) {
    std::vector<uint8_t> profile(heif_image_handle_get_raw_color_profile_size(handle));
    if (!profile.empty() &&
        heif_image_handle_get_raw_color_profile(handle, profile.data()).code != heif_error_Ok) {
        profile.clear();
    }
    return profile;
}

// The first metadata block of the type (and content type, when given); empty when none.
std::vector<uint8_t> metadataBlock(const heif_image_handle* handle, const char* type,
                                   std::string_view contentType = {}) {
    const int count = heif_image_handle_get_number_of_metadata_blocks(handle, type);
    std::vector<heif_item_id> ids(static_cast<size_t>(std::max(count, 0)));
    const int listed =
        heif_image_handle_get_list_of_metadata_block_IDs(handle, type, ids.data(), count);
    for (int i = 0; i < listed; ++i) {
        const char* content = heif_image_handle_get_metadata_content_type(handle, ids[i]);
        if (!contentType.empty() && (content == nullptr || contentType != content)) {
            continue;
        }
        std::vector<uint8_t> block(heif_image_handle_get_metadata_size(handle, ids[i]));
        if (heif_image_handle_get_metadata(handle, ids[i], block.data()).code == heif_error_Ok) {
            return block;
        }
    }
    return {};
}

void collectMetadata(const heif_image_handle* handle, image::PictureMetadata& metadata) {
    metadata.exif = exifAfterHeaderOffset(metadataBlock(handle, "Exif"));
    metadata.xmp = metadataBlock(handle, "mime", "application/rdf+xml");
}

// Decodes the primary image, with the file's turns when upright is wanted, into the image.
LoadCause decodePrimary(const heif_image_handle* handle, bool upright, image::DibImage& image) {
    const bool deep = heif_image_handle_get_luma_bits_per_pixel(handle) > 8;
    const bool withAlpha = heif_image_handle_has_alpha_channel(handle) != 0;
    const int channels = withAlpha ? 4 : 3;
    const Options options(heif_decoding_options_alloc());
    if (!options) {
        return LoadCause::DecoderOutOfMemory;
    }
    options->ignore_transformations = upright ? 0 : 1;
    heif_image* decodedImage = nullptr;
    const heif_error decoded = heif_decode_image(
        handle, &decodedImage, heif_colorspace_RGB,
        withAlpha ? (deep ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RGBA)
                  : (deep ? heif_chroma_interleaved_RRGGBB_LE : heif_chroma_interleaved_RGB),
        options.get());
    const Picture decodedPicture(decodedImage);
    if (decoded.code != heif_error_Ok || !decodedPicture) {
        return decodeFailure(decoded);
    }
    heif_image* picture = decodedPicture.get();
    int stride = 0;
    const uint8_t* plane =
        heif_image_get_plane_readonly(picture, heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(picture, heif_channel_interleaved);
    const int height = heif_image_get_height(picture, heif_channel_interleaved);
    const int bits = heif_image_get_bits_per_pixel_range(picture, heif_channel_interleaved);
    const int sampleBytes = deep ? 2 * channels : channels;
    if (plane == nullptr || width < 1 || height < 1 || stride < width * sampleBytes ||
        (deep ? bits <= 8 || bits > 16 : bits != 8)) {
        return LoadCause::Undecodable;
    }
    if (!image.create(width, height) || (withAlpha && !image.createAlpha())) {
        return LoadCause::OutOfMemory;
    }
    if (deep) {
        copyRowsDeep(plane, stride, bits, channels, image);
    } else {
        copyRows8(plane, stride, channels, image);
    }
    image.dropAlphaIfOpaque();
    return LoadCause::Loaded;
}

LoadCause decode(std::span<const uint8_t> bytes, image::DibImage& image,
                 const HeifDecodeLimits& limits, image::PictureMetadata* metadata) {
    const int checked = static_cast<int>(std::min<size_t>(bytes.size(), INT_MAX));
    if (bytes.size() < 12 || heif_check_filetype(bytes.data(), checked) == heif_filetype_no) {
        return LoadCause::Faulty;
    }
    if (!libraryReady()) {
        return LoadCause::Undecodable;
    }
    const Context context(heif_context_alloc());
    if (!context) {
        return LoadCause::DecoderOutOfMemory;
    }
    heif_context_set_maximum_image_size_limit(context.get(), image::kMaxImageSide + 1);
    heif_context_set_max_decoding_threads(context.get(), kDecodingThreads);
    const heif_error read = heif_context_read_from_memory_without_copy(context.get(), bytes.data(),
                                                                       bytes.size(), nullptr);
    if (read.code != heif_error_Ok) {
        return readFailure(read);
    }
    heif_image_handle* primary = nullptr;
    const heif_error found = heif_context_get_primary_image_handle(context.get(), &primary);
    const Handle handle(primary);
    if (found.code != heif_error_Ok || !handle) {
        return readFailure(found);
    }
    if (!handleWithinLimits(handle.get(), limits)) {
        return LoadCause::TooLarge;
    }
    // The coded stream declares its own size, which nothing ties to the sizes checked above; the
    // library refuses a coded picture with a side above this limit before making it.
    heif_context_set_maximum_image_size_limit(context.get(), codedSideLimit(handle.get()));
    const PictureCorrections wanted = pictureCorrections();
    const LoadCause decoded = decodePrimary(handle.get(), wanted.upright, image);
    if (decoded != LoadCause::Loaded) {
        return decoded;
    }
    // The library made the file's turns; the profile is applied here.
    applyStoredCorrections(image, rawColourProfile(handle.get()), kUpright, metadata);
    if (metadata != nullptr) {
        collectMetadata(handle.get(), *metadata);
    }
    return LoadCause::Loaded;
}

} // namespace

LoadResult decodeHeif(std::span<const uint8_t> bytes, image::DibImage& image,
                      const HeifDecodeLimits& limits, image::PictureMetadata* metadata) {
    try {
        return {decode(bytes, image, limits, metadata)};
    } catch (const std::bad_alloc&) {
        return {LoadCause::DecoderOutOfMemory};
    }
}

} // namespace velmora::codecs::heif
