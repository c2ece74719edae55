// The two load entry points the rest of the program uses.
#pragma once

#include "codecs/load_result.h"
#include "image/dib_image.h"
#include "image/loaded_image.h"

#include <stop_token>
#include <string_view>

namespace velmora::codecs {

// Stored thumbnails, consulted by loadImageFitted while one is installed.
class ThumbnailStore {
  public:
    virtual ~ThumbnailStore() = default;
    // Fills target (already box-sized) from a stored thumbnail of path; false when there is none.
    virtual bool readThumbnail(image::DibImage& target, std::u16string_view path) = 0;
    virtual void writeThumbnail(const image::DibImage& thumbnail, std::u16string_view path) = 0;
};

// Installs the thumbnail store (not owned); nullptr switches the cache off.
void setThumbnailStore(ThumbnailStore* store);

// Full-size load: remembers the path in the image, then runs the reader of the path's format.
// On failure (an unknown format, a failed read) the image is unusable. A JPEG decode ends early
// when stop is asked for.
LoadResult loadImage(image::LoadedImage& image, std::u16string_view path,
                     const std::stop_token& stop = {});

// Reduced load: target becomes a black box of the given size with the picture fitted into it
// (unscaled and centred when smaller in both directions). A failure leaves the black box.
// With showAlpha a picture with an alpha plane is drawn over the checkerboard. Only pictures
// without a plane go into the thumbnail store: the others' look depends on the setting.
LoadResult loadImageFitted(image::DibImage& target, std::u16string_view path, int boxWidth,
                           int boxHeight, bool showAlpha = false);

// The writer chosen by the save dialog's type index: 0 JPEG (quality), 1 BMP, 2 PNG, 3 TIFF;
// metadata, when given, goes into the formats that have a place for it; keepAlpha writes the
// image's alpha plane into a PNG.
inline constexpr int kPngTypeIndex = 2;
SaveResult saveByTypeIndex(const image::DibImage& image, std::u16string_view path, int typeIndex,
                           int quality, const image::PictureMetadata* metadata = nullptr,
                           bool keepAlpha = false);

// What a save of a loaded picture adds to the plain writers; on unless switched off.
struct SaveExtras {
    bool keepMetadata = true;  // write what the file held besides the pixels
    bool losslessTurns = true; // save JPEG turns and flips by turning the file's data
    // A picture with an alpha plane: a PNG keeps it, the other types get the picture flattened
    // over white. Off, the plane is ignored and the stored colours are written.
    bool keepAlpha = true;
};

// Saves a loaded picture with what its file held besides the pixels. A picture read from a JPEG
// file and since only turned or flipped is saved as JPEG by turning the file's own data, without
// a generation of loss, when its size allows the turn exactly (and the file is unchanged);
// otherwise it is encoded at the quality like any other.
SaveResult saveLoadedPicture(const image::LoadedImage& picture, std::u16string_view path,
                             int typeIndex, int quality, SaveExtras extras = {});

} // namespace velmora::codecs
