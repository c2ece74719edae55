#include "codecs/mag/mag_decoder.h"
#include "codecs/readers.h"
#include "platform/device_fs.h"

namespace velmora::codecs {
namespace mag {

bool decodeMag(image::DibImage& image, std::span<const uint8_t> file) {
    PackedBitmap bitmap;
    MagSize size;
    switch (decodeMagBitmap(file, bitmap, size)) {
    case MagResult::Decoded:
        return image.loadPackedDib(bitmap.data(), bitmap.size());
    case MagResult::BadSignature:
    case MagResult::NoCommentEnd:
    case MagResult::HeaderCut:
    case MagResult::PaletteCut:
    case MagResult::BadGeometry:
    case MagResult::StreamOutside:
    case MagResult::CopyOutside:
    case MagResult::NoMemory:
        return false;
    case MagResult::TooLarge:
        image.create(size.width, size.height); // refused there, with its message
        return false;
    }
    return false;
}

} // namespace mag

bool loadMag(image::DibImage& image, std::u16string_view path) {
    const auto file = platform::readWholeFile(path);
    return file && mag::decodeMag(image, *file);
}

} // namespace velmora::codecs
