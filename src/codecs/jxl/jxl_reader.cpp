// loadJxl: the file end of the JPEG XL decoder.
#include "codecs/file_bytes.h"
#include "codecs/jxl/jxl_decoder.h"
#include "codecs/readers.h"

namespace velmora::codecs {

LoadResult loadJxl(image::DibImage& image, std::u16string_view path,
                   image::PictureMetadata* metadata) {
    const FileBytes file = readPictureFile(path);
    return file.cause == LoadCause::Loaded ? jxl::decodeJxl(file.bytes(), image, {}, metadata)
                                           : LoadResult{file.cause};
}

} // namespace velmora::codecs
