// newerFormatLibraries: the versions of the libraries the newer formats' readers run on.
#include "codecs/readers.h"

#include <avif/avif.h>
#include <jxl/decode.h>
#include <libheif/heif.h>
#include <webp/decode.h>

#include <cstdint>

namespace velmora::codecs {
namespace {

// A version packed as major, minor and patch in fields of the given size (0x100 or 1000).
std::string unpacked(uint32_t version, uint32_t field) {
    return std::to_string(version / field / field) + '.' + std::to_string(version / field % field) +
           '.' + std::to_string(version % field);
}

} // namespace

std::string newerFormatLibraries() {
    std::string text;
    text += "libwebp " + unpacked(static_cast<uint32_t>(WebPGetDecoderVersion()), 0x100) + '\n';
    text += "libavif " + std::string(avifVersion()) + '\n';
    text += "libheif " + std::string(heif_get_version()) + '\n';
    text += "libjxl " + unpacked(JxlDecoderVersion(), 1000) + '\n';
    return text;
}

} // namespace velmora::codecs
