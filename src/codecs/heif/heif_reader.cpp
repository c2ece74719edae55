// loadHeif: the file end of the HEIF decoder.
#include "codecs/file_bytes.h"
#include "codecs/heif/heif_decoder.h"
#include "codecs/readers.h"

namespace velmora::codecs {

LoadResult loadHeif(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata) {
    return decodePictureFile(path, [&](std::span<const uint8_t> bytes) {
        return heif::decodeHeif(bytes, image, {}, metadata);
    });
}

} // namespace velmora::codecs
