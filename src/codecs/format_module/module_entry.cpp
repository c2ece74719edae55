// The format module's one exported symbol: its readers, writers and library versions.
#include "codecs/avif/avif_frame_source.h"
#include "codecs/format_module/format_module.h"
#include "codecs/readers.h"
#include "codecs/webp/webp_frame_source.h"

#include <string>

namespace velmora::codecs {
namespace {

const char* libraryVersions() {
    static const std::string text = newerFormatLibraries();
    return text.c_str();
}

constexpr FormatModuleTable kTable{
    kFormatModuleRevision,
    sizeof(FormatModuleTable),
    loadWebp,
    loadWebpScaled,
    loadAvif,
    loadHeif,
    loadJxl,
    saveWebp,
    saveAvif,
    libraryVersions,
    webp::openWebpFrames,
    avif::openAvifFrames,
};

} // namespace
} // namespace velmora::codecs

extern "C" __attribute__((visibility("default"))) const velmora::codecs::FormatModuleTable*
velmora_format_module_table() {
    return &velmora::codecs::kTable;
}
