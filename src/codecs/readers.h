// The per-format readers and writers. Every reader creates the image at the picture's size and
// fills it, and reports why it could not (load_result.h). Writers never replace the target file
// unless the whole new file was written.
#pragma once

#include "codecs/load_result.h"
#include "image/dib_image.h"
#include "platform/replacement_file.h"

#include <stop_token>
#include <string_view>

namespace velmora::codecs {

// A stop asked for ends the decode early (Stopped).
LoadResult loadJpeg(image::DibImage& image, std::u16string_view path,
                    const std::stop_token& stop = {});
// Decodes at 1/8, 1/4 or 1/2 when the picture is at least 8, 4 or 2 times the box both ways.
LoadResult loadJpegScaled(image::DibImage& image, std::u16string_view path, int boxWidth,
                          int boxHeight);
LoadResult loadGif(image::DibImage& image, std::u16string_view path);
LoadResult loadBmp(image::DibImage& image, std::u16string_view path);
LoadResult loadMag(image::DibImage& image, std::u16string_view path);
LoadResult loadPng(image::DibImage& image, std::u16string_view path);
LoadResult loadTiff(image::DibImage& image, std::u16string_view path);

// Unsynced: for files that can be made again (thumbnails), do not wait for the medium.
SaveResult saveJpeg(const image::DibImage& image, std::u16string_view path, int quality,
                    platform::Durability durability = platform::Durability::Synced);
SaveResult saveBmp(const image::DibImage& image, std::u16string_view path);
SaveResult savePng(const image::DibImage& image, std::u16string_view path);
SaveResult saveTiff(const image::DibImage& image, std::u16string_view path);

} // namespace velmora::codecs
