// The entry table of the format module: the readers and writers of WebP, AVIF, HEIF and JPEG XL.
// Their libraries (and the AV1, HEVC and JPEG XL codecs behind them) are many shared objects; the
// program opens the module holding them only when a picture of those formats is first read or
// written, so that a start showing a JPEG, GIF or PNG does not load them at all.
#pragma once

#include "codecs/file_bytes.h"
#include "codecs/frame_source.h"
#include "codecs/load_result.h"
#include "image/dib_image.h"
#include "image/picture_metadata.h"

#include <memory>
#include <string_view>

namespace velmora::codecs {

// Raised whenever the table changes; a module of another revision is not used.
inline constexpr int kFormatModuleRevision = 2;

struct FormatModuleTable {
    int revision;
    unsigned size; // sizeof the table the module was built with
    LoadResult (*loadWebp)(image::DibImage&, std::u16string_view, image::PictureMetadata*);
    LoadResult (*loadWebpScaled)(image::DibImage&, std::u16string_view, int, int);
    LoadResult (*loadAvif)(image::DibImage&, std::u16string_view, image::PictureMetadata*);
    LoadResult (*loadHeif)(image::DibImage&, std::u16string_view, image::PictureMetadata*);
    LoadResult (*loadJxl)(image::DibImage&, std::u16string_view, image::PictureMetadata*);
    SaveResult (*saveWebp)(const image::DibImage&, std::u16string_view, int);
    SaveResult (*saveAvif)(const image::DibImage&, std::u16string_view, int);
    const char* (*libraryVersions)(); // a line per library, e.g. "libwebp 1.2.4\n"
    std::unique_ptr<FrameSource> (*openWebpFrames)(FileBytes);
    std::unique_ptr<FrameSource> (*openAvifFrames)(FileBytes);
};

// The module's file name, and its one exported symbol.
inline constexpr char kFormatModuleFile[] = "velmora-formats.so";
inline constexpr char kFormatModuleEntry[] = "velmora_format_module_table";

} // namespace velmora::codecs

extern "C" const velmora::codecs::FormatModuleTable* velmora_format_module_table();
