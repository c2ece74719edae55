// saveWebp: the library's one-call encoders, lossy at the quality, lossless at 100.
#include "codecs/readers.h"
#include "codecs/safe_file_writer.h"

#include <webp/encode.h>

#include <memory>

namespace velmora::codecs {
namespace {

constexpr int kLosslessQuality = 100;

struct WebpFree {
    void operator()(uint8_t* bytes) const { WebPFree(bytes); }
};

} // namespace

SaveResult saveWebp(const image::DibImage& image, std::u16string_view path, int quality) {
    if (!image.hasPixels()) {
        return {SaveCause::NoPicture};
    }
    uint8_t* encoded = nullptr;
    const size_t size = quality >= kLosslessQuality
                            ? WebPEncodeLosslessBGR(image.bits(), image.width(), image.height(),
                                                    image.stride(), &encoded)
                            : WebPEncodeBGR(image.bits(), image.width(), image.height(),
                                            image.stride(), static_cast<float>(quality), &encoded);
    const std::unique_ptr<uint8_t, WebpFree> owned(encoded);
    if (size == 0) {
        return {SaveCause::WriteFailed};
    }
    return saveEncodedBytes(path, {owned.get(), size});
}

} // namespace velmora::codecs
