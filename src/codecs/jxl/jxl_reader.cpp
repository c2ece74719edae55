// loadJxl: the file end of the JPEG XL decoder.
#include "codecs/jxl/jxl_decoder.h"
#include "codecs/picture_file.h"
#include "codecs/readers.h"

namespace velmora::codecs {

LoadResult loadJxl(image::DibImage& image, std::u16string_view path) {
    std::vector<uint8_t> bytes;
    const LoadCause read = readPictureFile(path, bytes);
    return read == LoadCause::Loaded ? jxl::decodeJxl(bytes, image) : LoadResult{read};
}

} // namespace velmora::codecs
