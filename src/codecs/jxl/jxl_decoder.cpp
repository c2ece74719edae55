#include "codecs/jxl/jxl_decoder.h"

#include "codecs/corrections/orientation.h"
#include "codecs/corrections/picture_corrections.h"
#include "codecs/corrections/stored_corrections.h"
#include "codecs/jxl/jxl_metadata_boxes.h"

#include <jxl/decode.h>
#include <jxl/encode.h>
#include <jxl/resizable_parallel_runner.h>

#include <algorithm>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace velmora::codecs::jxl {
namespace {

// A picture is decoded on this many threads at most.
constexpr uint32_t kMaxThreads = 4;

// Rows the library writes are the image's own: 3 bytes a pixel, each row padded to 4 bytes.
constexpr JxlPixelFormat kOutputFormat{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 4};
// The alpha plane's rows: one byte a pixel, unpadded.
constexpr JxlPixelFormat kAlphaFormat{1, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};

struct DecoderDestroy {
    void operator()(JxlDecoder* decoder) const { JxlDecoderDestroy(decoder); }
};
struct RunnerDestroy {
    void operator()(void* runner) const { JxlResizableParallelRunnerDestroy(runner); }
};
using Decoder = std::unique_ptr<JxlDecoder, DecoderDestroy>;
using Runner = std::unique_ptr<void, RunnerDestroy>;

bool isSrgb(const JxlColorEncoding& encoding) {
    return encoding.color_space == JXL_COLOR_SPACE_RGB &&
           encoding.white_point == JXL_WHITE_POINT_D65 &&
           encoding.primaries == JXL_PRIMARIES_SRGB &&
           encoding.transfer_function == JXL_TRANSFER_FUNCTION_SRGB;
}

// Checks the size from the header and makes the image at the size the pixels will come out in.
LoadCause prepareImage(const JxlBasicInfo& info, bool keepOrientation,
                       const JxlDecodeLimits& limits, image::DibImage& image) {
    const int64_t width = info.xsize;
    const int64_t height = info.ysize;
    if (width > image::kMaxImageSide || height > image::kMaxImageSide ||
        width * height > std::min(limits.maxPixels, image::kMaxImagePixels)) {
        return LoadCause::TooLarge;
    }
    const bool sideways = !keepOrientation && info.orientation >= JXL_ORIENT_TRANSPOSE;
    const auto w = static_cast<int32_t>(sideways ? height : width);
    const auto h = static_cast<int32_t>(sideways ? width : height);
    const bool made = image.create(w, h) && (info.alpha_bits == 0 || image.createAlpha());
    return made ? LoadCause::Loaded : LoadCause::OutOfMemory;
}

// Pixels coded in the library's own colour space (lossy pictures) could be given in any space;
// for an original described only by an ICC profile the library's choice would be linear light,
// which 8 bits render poorly, so sRGB is asked for instead.
void preferSrgbForIccOriginal(JxlDecoder* decoder, const JxlBasicInfo& info) {
    if (info.uses_original_profile ||
        JxlDecoderGetColorAsEncodedProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_ORIGINAL,
                                           nullptr) == JXL_DEC_SUCCESS) {
        return;
    }
    JxlColorEncoding srgb{};
    JxlColorEncodingSetToSRGB(&srgb, info.num_color_channels == 1 ? JXL_TRUE : JXL_FALSE);
    JxlDecoderSetPreferredColorProfile(decoder, &srgb);
}

// The profile the pixels come out in; empty for sRGB, which needs none.
std::vector<uint8_t> dataProfile(const JxlDecoder* decoder) {
    JxlColorEncoding encoding{};
    if (JxlDecoderGetColorAsEncodedProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA,
                                           &encoding) == JXL_DEC_SUCCESS &&
        isSrgb(encoding)) {
        return {};
    }
    size_t size = 0;
    if (JxlDecoderGetICCProfileSize(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA, &size) !=
            JXL_DEC_SUCCESS ||
        size == 0) {
        return {};
    }
    std::vector<uint8_t> profile(size);
    if (JxlDecoderGetColorAsICCProfile(decoder, nullptr, JXL_COLOR_PROFILE_TARGET_DATA,
                                       profile.data(), size) != JXL_DEC_SUCCESS) {
        return {};
    }
    return profile;
}

bool setOutputBuffer(JxlDecoder* decoder, image::DibImage& image) {
    size_t needed = 0;
    const size_t held = static_cast<size_t>(image.stride()) * static_cast<size_t>(image.height());
    return JxlDecoderImageOutBufferSize(decoder, &kOutputFormat, &needed) == JXL_DEC_SUCCESS &&
           needed <= held &&
           JxlDecoderSetImageOutBuffer(decoder, &kOutputFormat, image.bits(), held) ==
               JXL_DEC_SUCCESS;
}

// The alpha channel goes straight into the image's plane, its colours not premultiplied.
bool setAlphaBuffer(JxlDecoder* decoder, const JxlBasicInfo& info, image::DibImage& image) {
    for (uint32_t index = 0; index < info.num_extra_channels; ++index) {
        JxlExtraChannelInfo channel{};
        if (JxlDecoderGetExtraChannelInfo(decoder, index, &channel) != JXL_DEC_SUCCESS ||
            channel.type != JXL_CHANNEL_ALPHA) {
            continue;
        }
        size_t needed = 0;
        const size_t held = image.alphaBytes();
        return JxlDecoderExtraChannelBufferSize(decoder, &kAlphaFormat, &needed, index) ==
                   JXL_DEC_SUCCESS &&
               needed <= held &&
               JxlDecoderSetExtraChannelBuffer(decoder, &kAlphaFormat, image.alphaRow(0), held,
                                               index) == JXL_DEC_SUCCESS;
    }
    image.dropAlpha(); // alpha bits without an alpha channel: nothing to fill it from
    return true;
}

void swapRedAndBlue(image::DibImage& image) {
    for (int32_t y = 0; y < image.height(); ++y) {
        uint8_t* pixel = image.row(y);
        for (int32_t x = 0; x < image.width(); ++x, pixel += 3) {
            std::swap(pixel[0], pixel[2]);
        }
    }
}

// The decoded picture's colours, and the record of what the file held and what was done.
void finish(image::DibImage& image, const JxlBasicInfo& info, std::span<const uint8_t> profile,
            image::PictureMetadata* metadata) {
    swapRedAndBlue(image);
    image.dropAlphaIfOpaque();
    applyStoredCorrections(image, profile, kUpright, metadata);
    if (metadata != nullptr && pictureCorrections().upright) {
        metadata->readerTurn = image::Turn::uprighting(static_cast<int>(info.orientation));
    }
}

LoadCause decode(std::span<const uint8_t> bytes, image::DibImage& image,
                 const JxlDecodeLimits& limits, image::PictureMetadata* metadata) {
    const JxlSignature signature = JxlSignatureCheck(bytes.data(), bytes.size());
    if (signature != JXL_SIG_CODESTREAM && signature != JXL_SIG_CONTAINER) {
        return LoadCause::Faulty;
    }
    const Decoder owned(JxlDecoderCreate(nullptr));
    const Runner runner(JxlResizableParallelRunnerCreate(nullptr));
    if (!owned || !runner) {
        return LoadCause::DecoderOutOfMemory;
    }
    JxlDecoder* decoder = owned.get();
    const PictureCorrections wanted = pictureCorrections();
    const int events = JXL_DEC_BASIC_INFO | JXL_DEC_COLOR_ENCODING | JXL_DEC_FULL_IMAGE |
                       (metadata != nullptr ? JXL_DEC_BOX : 0);
    if (JxlDecoderSubscribeEvents(decoder, events) != JXL_DEC_SUCCESS ||
        JxlDecoderSetParallelRunner(decoder, JxlResizableParallelRunner, runner.get()) !=
            JXL_DEC_SUCCESS ||
        JxlDecoderSetKeepOrientation(decoder, wanted.upright ? JXL_FALSE : JXL_TRUE) !=
            JXL_DEC_SUCCESS ||
        JxlDecoderSetUnpremultiplyAlpha(decoder, JXL_TRUE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(decoder, bytes.data(), bytes.size()) != JXL_DEC_SUCCESS) {
        return LoadCause::Undecodable;
    }
    JxlDecoderCloseInput(decoder);
    MetadataBoxes boxes(decoder);
    JxlBasicInfo info{};
    bool headerRead = false;
    bool pictureDone = false;
    std::vector<uint8_t> profile;
    for (;;) {
        const JxlDecoderStatus status = JxlDecoderProcessInput(decoder);
        switch (status) {
        case JXL_DEC_BASIC_INFO: {
            if (JxlDecoderGetBasicInfo(decoder, &info) != JXL_DEC_SUCCESS) {
                return LoadCause::Faulty;
            }
            headerRead = true;
            const LoadCause prepared = prepareImage(info, !wanted.upright, limits, image);
            if (prepared != LoadCause::Loaded) {
                return prepared;
            }
            JxlResizableParallelRunnerSetThreads(
                runner.get(),
                std::min<size_t>(kMaxThreads,
                                 JxlResizableParallelRunnerSuggestThreads(info.xsize, info.ysize)));
            break;
        }
        case JXL_DEC_COLOR_ENCODING:
            preferSrgbForIccOriginal(decoder, info);
            if (wanted.colourProfiles || metadata != nullptr) {
                profile = dataProfile(decoder);
            }
            break;
        case JXL_DEC_NEED_IMAGE_OUT_BUFFER:
            if (!setOutputBuffer(decoder, image) ||
                (image.hasAlpha() && !setAlphaBuffer(decoder, info, image))) {
                return LoadCause::Undecodable;
            }
            break;
        case JXL_DEC_FULL_IMAGE:
            finish(image, info, profile, metadata);
            if (metadata == nullptr) {
                return LoadCause::Loaded;
            }
            // The boxes may follow the picture's codestream.
            pictureDone = true;
            break;
        case JXL_DEC_BOX:
            if (!boxes.begin(decoder)) {
                return pictureDone ? LoadCause::Loaded : LoadCause::Undecodable;
            }
            break;
        case JXL_DEC_BOX_NEED_MORE_OUTPUT:
            if (!boxes.grow(decoder)) {
                return pictureDone ? LoadCause::Loaded : LoadCause::Undecodable;
            }
            break;
        case JXL_DEC_ERROR:
        case JXL_DEC_NEED_MORE_INPUT:
        case JXL_DEC_SUCCESS:
            if (pictureDone) {
                // A fault in what follows the picture leaves it as decoded, without the boxes.
                if (status == JXL_DEC_SUCCESS) {
                    boxes.finish(decoder, *metadata);
                }
                return LoadCause::Loaded;
            }
            return headerRead ? LoadCause::Undecodable : LoadCause::Faulty;
        default:
            return pictureDone ? LoadCause::Loaded : LoadCause::Undecodable;
        }
    }
}

} // namespace

LoadResult decodeJxl(std::span<const uint8_t> bytes, image::DibImage& image,
                     const JxlDecodeLimits& limits, image::PictureMetadata* metadata) {
    try {
        return {decode(bytes, image, limits, metadata)};
    } catch (const std::bad_alloc&) {
        return {LoadCause::DecoderOutOfMemory};
    }
}

} // namespace velmora::codecs::jxl
