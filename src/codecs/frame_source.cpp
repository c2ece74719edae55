#include "codecs/frame_source.h"

#include "codecs/avif/avif_frame_source.h"
#include "codecs/byte_reader.h"
#include "codecs/gif/gif_frame_source.h"
#include "codecs/image_format.h"
#include "codecs/webp/webp_frame_source.h"

namespace velmora::codecs {

std::unique_ptr<FrameSource> openFrameSource(std::u16string_view path) {
    std::unique_ptr<FrameSource> source;
    switch (formatFromExtension(path)) {
    case ImageFormat::Gif:
        source = gif::GifFrameSource::open(fileReader(path));
        break;
    case ImageFormat::Webp:
        source = webp::openWebpFrames(readPictureFile(path));
        break;
    case ImageFormat::Avif:
        source = avif::openAvifFrames(readPictureFile(path));
        break;
    default:
        break;
    }
    if (source && source->frameCount() < 2) {
        source.reset();
    }
    return source;
}

} // namespace velmora::codecs
