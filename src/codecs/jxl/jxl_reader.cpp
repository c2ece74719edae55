// loadJxl: the file end of the JPEG XL decoder.
#include "codecs/file_bytes.h"
#include "codecs/jxl/jxl_decoder.h"
#include "codecs/readers.h"

namespace velmora::codecs {

LoadResult loadJxl(image::DibImage& image, std::u16string_view path,
                   image::PictureMetadata* metadata) {
    return decodePictureFile(path, [&](std::span<const uint8_t> bytes) {
        return jxl::decodeJxl(bytes, image, {}, metadata);
    });
}

} // namespace velmora::codecs
