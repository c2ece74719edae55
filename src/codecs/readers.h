// The per-format readers and writers. Every reader creates the image at the picture's size and
// fills it, and returns false when it cannot. Messages appear only while the image's reportErrors
// is set: 316 from the image when memory runs out, and 322 for a faulty picture from the readers
// that report it (GIF, MAG, BMP, JPEG, PNG; the TIFF reader fails silently). Writers show 40079
// on failure and never replace the target file unless the whole new file was written.
#pragma once

#include "image/dib_image.h"
#include "platform/replacement_file.h"

#include <string_view>

namespace velmora::codecs {

bool loadJpeg(image::DibImage& image, std::u16string_view path);
// Decodes at 1/8, 1/4 or 1/2 when the picture is at least 8, 4 or 2 times the box both ways.
bool loadJpegScaled(image::DibImage& image, std::u16string_view path, int boxWidth, int boxHeight);
bool loadGif(image::DibImage& image, std::u16string_view path);
bool loadBmp(image::DibImage& image, std::u16string_view path);
bool loadMag(image::DibImage& image, std::u16string_view path);
bool loadPng(image::DibImage& image, std::u16string_view path);
bool loadTiff(image::DibImage& image, std::u16string_view path);

// Unsynced: for files that can be made again (thumbnails), do not wait for the medium.
bool saveJpeg(const image::DibImage& image, std::u16string_view path, int quality,
              platform::Durability durability = platform::Durability::Synced);
bool saveBmp(const image::DibImage& image, std::u16string_view path);
bool savePng(const image::DibImage& image, std::u16string_view path);
bool saveTiff(const image::DibImage& image, std::u16string_view path);

} // namespace velmora::codecs
