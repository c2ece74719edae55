// loadHeif: the file end of the HEIF decoder.
#include "codecs/heif/heif_decoder.h"
#include "codecs/picture_file.h"
#include "codecs/readers.h"

namespace velmora::codecs {

LoadResult loadHeif(image::DibImage& image, std::u16string_view path) {
    std::vector<uint8_t> bytes;
    const LoadCause read = readPictureFile(path, bytes);
    return read == LoadCause::Loaded ? heif::decodeHeif(bytes, image) : LoadResult{read};
}

} // namespace velmora::codecs
