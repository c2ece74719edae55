// The program's side of the format module: the newer formats' readers and writers open the
// module on first use (once, whichever thread comes first: the viewer, the read-ahead worker or
// the thumbnail thread) and call through its table. Without the module those formats fail as
// unsupported, and the reason is written once to standard error.
#include "codecs/avif/avif_frame_source.h"
#include "codecs/format_module/format_module.h"
#include "codecs/readers.h"
#include "codecs/webp/webp_frame_source.h"

#include <dlfcn.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <type_traits>
#include <utility>

namespace velmora::codecs {
namespace {

// Next to the executable (the build tree), then where the install puts it.
std::array<std::filesystem::path, 2> moduleCandidates() {
    std::error_code error;
    const std::filesystem::path folder =
        std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    return {folder / kFormatModuleFile, folder / "../lib/velmora" / kFormatModuleFile};
}

const FormatModuleTable* openModule() {
    std::string reason;
    for (const std::filesystem::path& candidate : moduleCandidates()) {
        // Kept open for the life of the process: decoded pictures may call into it until the end.
        void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            reason += std::string(reason.empty() ? "" : "; ") + dlerror();
            continue;
        }
        using Entry = const FormatModuleTable* (*)();
        const auto entry = reinterpret_cast<Entry>(dlsym(handle, kFormatModuleEntry));
        const FormatModuleTable* table = entry != nullptr ? entry() : nullptr;
        if (table != nullptr && table->revision == kFormatModuleRevision &&
            table->size == sizeof(FormatModuleTable)) {
            return table;
        }
        reason += std::string(reason.empty() ? "" : "; ") + candidate.string() +
                  ": not a format module of this program";
        dlclose(handle);
    }
    std::fprintf(stderr, "velmora: WebP, AVIF, HEIF and JPEG XL are unavailable (%s)\n",
                 reason.c_str());
    return nullptr;
}

const FormatModuleTable* formatModule() {
    static std::once_flag once;
    static const FormatModuleTable* table = nullptr;
    std::call_once(once, [] { table = openModule(); });
    return table;
}

// Calls the module's entry, or answers unavailable when there is no module.
template <class Result, class... Params>
Result callModule(Result (*FormatModuleTable::*entry)(Params...), Result unavailable,
                  std::type_identity_t<Params>... args) {
    const FormatModuleTable* module = formatModule();
    return module != nullptr ? (module->*entry)(args...) : unavailable;
}

constexpr LoadResult kNoReader{LoadCause::Unsupported};
constexpr SaveResult kNoWriter{SaveCause::UnknownType};

} // namespace

LoadResult loadWebp(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata) {
    return callModule(&FormatModuleTable::loadWebp, kNoReader, image, path, metadata);
}

LoadResult loadWebpScaled(image::DibImage& image, std::u16string_view path, int boxWidth,
                          int boxHeight) {
    return callModule(&FormatModuleTable::loadWebpScaled, kNoReader, image, path, boxWidth,
                      boxHeight);
}

LoadResult loadAvif(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata) {
    return callModule(&FormatModuleTable::loadAvif, kNoReader, image, path, metadata);
}

LoadResult loadHeif(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata) {
    return callModule(&FormatModuleTable::loadHeif, kNoReader, image, path, metadata);
}

LoadResult loadJxl(image::DibImage& image, std::u16string_view path,
                   image::PictureMetadata* metadata) {
    return callModule(&FormatModuleTable::loadJxl, kNoReader, image, path, metadata);
}

SaveResult saveWebp(const image::DibImage& image, std::u16string_view path, int quality) {
    return callModule(&FormatModuleTable::saveWebp, kNoWriter, image, path, quality);
}

SaveResult saveAvif(const image::DibImage& image, std::u16string_view path, int quality) {
    return callModule(&FormatModuleTable::saveAvif, kNoWriter, image, path, quality);
}

std::unique_ptr<FrameSource> webp::openWebpFrames(FileBytes file) {
    const FormatModuleTable* module = formatModule();
    return module != nullptr ? module->openWebpFrames(std::move(file)) : nullptr;
}

std::unique_ptr<FrameSource> avif::openAvifFrames(FileBytes file) {
    const FormatModuleTable* module = formatModule();
    return module != nullptr ? module->openAvifFrames(std::move(file)) : nullptr;
}

std::string newerFormatLibraries() {
    const FormatModuleTable* module = formatModule();
    return module != nullptr ? module->libraryVersions() : std::string();
}

} // namespace velmora::codecs
