// The per-format readers and writers. Every reader creates the image at the picture's size and
// fills it, and reports why it could not (load_result.h). Writers never replace the target file
// unless the whole new file was written. Readers given a metadata record fill in what the file
// holds besides the pixels; writers given one write what their format has a place for.
#pragma once

#include "codecs/load_result.h"
#include "image/dib_image.h"
#include "image/picture_metadata.h"
#include "platform/replacement_file.h"

#include <stop_token>
#include <string>
#include <string_view>

namespace velmora::codecs {

// A stop asked for ends the decode early (Stopped).
LoadResult loadJpeg(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata = nullptr, const std::stop_token& stop = {});
// Decodes at 1/8, 1/4 or 1/2 when the picture is at least 8, 4 or 2 times the box both ways.
LoadResult loadJpegScaled(image::DibImage& image, std::u16string_view path, int boxWidth,
                          int boxHeight);
LoadResult loadGif(image::DibImage& image, std::u16string_view path);
LoadResult loadBmp(image::DibImage& image, std::u16string_view path);
LoadResult loadMag(image::DibImage& image, std::u16string_view path);
LoadResult loadPng(image::DibImage& image, std::u16string_view path,
                   image::PictureMetadata* metadata = nullptr);
LoadResult loadTiff(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata = nullptr);
LoadResult loadWebp(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata = nullptr);
// Still pictures decoded reduced by the library's scaler, by the same rule as loadJpegScaled.
LoadResult loadWebpScaled(image::DibImage& image, std::u16string_view path, int boxWidth,
                          int boxHeight);
LoadResult loadAvif(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata = nullptr);
LoadResult loadHeif(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata = nullptr);
LoadResult loadJxl(image::DibImage& image, std::u16string_view path,
                   image::PictureMetadata* metadata = nullptr);

// Unsynced: for files that can be made again (thumbnails), do not wait for the medium.
SaveResult saveJpeg(const image::DibImage& image, std::u16string_view path, int quality,
                    platform::Durability durability = platform::Durability::Synced,
                    const image::PictureMetadata* metadata = nullptr);
SaveResult saveBmp(const image::DibImage& image, std::u16string_view path);
// keepAlpha writes the image's alpha plane, when it has one, as an RGBA file.
SaveResult savePng(const image::DibImage& image, std::u16string_view path,
                   const image::PictureMetadata* metadata = nullptr, bool keepAlpha = false);
SaveResult saveTiff(const image::DibImage& image, std::u16string_view path);
// Lossy at quality (0..99), lossless at 100.
SaveResult saveWebp(const image::DibImage& image, std::u16string_view path, int quality);
SaveResult saveAvif(const image::DibImage& image, std::u16string_view path, int quality);

// The versions of the WebP, AVIF, HEIF and JPEG XL libraries, a line each ("libwebp 1.2.4");
// empty when those formats' libraries cannot be loaded.
std::string newerFormatLibraries();

} // namespace velmora::codecs
