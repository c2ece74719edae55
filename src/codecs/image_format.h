// Which reader handles a file, decided by the file name's ending.
#pragma once

#include <string_view>

namespace velmora::codecs {

enum class ImageFormat {
    None = 0,
    Jpeg = 1,
    Gif = 2,
    Bmp = 3,
    Mag = 4,
    Png = 5,
    Tiff = 6,
    Webp = 7,
    Avif = 8,
    Heif = 9,
    Jxl = 10,
};

// ".jpg"/".jpeg"/".jpe"/".jfif" Jpeg, ".gif" Gif, ".bmp" Bmp, ".mag" Mag, ".png" Png,
// ".tif"/".tiff" Tiff, ".webp" Webp, ".avif" Avif, ".heic"/".heif" Heif, ".jxl" Jxl, any case;
// every other name is None.
ImageFormat formatFromExtension(std::u16string_view path);

} // namespace velmora::codecs
