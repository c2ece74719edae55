#include "codecs/mag/mag_decoder.h"
#include "codecs/readers.h"
#include "platform/device_fs.h"

namespace velmora::codecs {
namespace mag {

LoadResult decodeMag(image::DibImage& image, std::span<const uint8_t> file) {
    PackedBitmap bitmap;
    MagSize size;
    switch (decodeMagBitmap(file, bitmap, size)) {
    case MagResult::Decoded:
        // The bitmap is one this reader made: only the image's memory can fail.
        return {image.loadPackedDib(bitmap.data(), bitmap.size()) ? LoadCause::Loaded
                                                                  : LoadCause::OutOfMemory};
    case MagResult::BadSignature:
    case MagResult::NoCommentEnd:
    case MagResult::HeaderCut:
    case MagResult::PaletteCut:
    case MagResult::BadGeometry:
    case MagResult::StreamOutside:
    case MagResult::CopyOutside:
        return {LoadCause::Undecodable};
    case MagResult::NoMemory:
        return {LoadCause::DecoderOutOfMemory};
    case MagResult::TooLarge:
        return {LoadCause::TooLarge};
    }
    return {LoadCause::Undecodable};
}

} // namespace mag

LoadResult loadMag(image::DibImage& image, std::u16string_view path) {
    const auto file = platform::readWholeFile(path);
    return file ? mag::decodeMag(image, *file) : LoadResult{LoadCause::CannotOpen};
}

} // namespace velmora::codecs
