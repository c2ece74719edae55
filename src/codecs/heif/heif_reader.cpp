// loadHeif: the file end of the HEIF decoder.
#include "codecs/file_bytes.h"
#include "codecs/heif/heif_decoder.h"
#include "codecs/readers.h"

namespace velmora::codecs {

LoadResult loadHeif(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata) {
    const FileBytes file = readPictureFile(path);
    return file.cause == LoadCause::Loaded ? heif::decodeHeif(file.bytes(), image, {}, metadata)
                                           : LoadResult{file.cause};
}

} // namespace velmora::codecs
