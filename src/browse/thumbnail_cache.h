// ThumbnailCache: every thumbnail once made is kept as a 100 x 120 JPEG file (quality 60) in a
// folder VelThumbs beside its picture, so that the next visit reads that small file instead of
// decoding the picture. A cache file stands for its picture until it is deleted by hand: there
// is no time stamp or size check.
#pragma once

#include "codecs/load_image.h"
#include "image/dib_image.h"

#include <string>
#include <string_view>

namespace velmora::browse {

inline constexpr std::u16string_view kThumbnailFolderName = u"VelThumbs";
inline constexpr int kThumbnailQuality = 60;

// F\VelThumbs\th_N.jpg for the picture F\N ("\A\b.jpg" -> "\A\VelThumbs\th_b.jpg.jpg").
std::u16string thumbnailPathOf(std::u16string_view picturePath);

// Fills target (fitted, aspect kept) from the cache file of the picture; false when there is
// none or it cannot be read. Reads quietly: a broken cache file is simply not used.
[[nodiscard]] bool readThumbnail(image::DibImage& target, std::u16string_view picturePath);

// Stores the thumbnail as the picture's cache file, creating the cache folder on first use.
// False, quietly, when the folder cannot be created (read-only media). The file is written under
// a temporary name and renamed into place, so an interrupted write leaves no broken thumbnail.
[[nodiscard]] bool writeThumbnail(const image::DibImage& thumbnail,
                                  std::u16string_view picturePath);

class ThumbnailCache : public codecs::ThumbnailStore {
  public:
    [[nodiscard]] bool readThumbnail(image::DibImage& target, std::u16string_view path) override;
    void writeThumbnail(const image::DibImage& thumbnail, std::u16string_view path) override;
};

// While alive, loadImageFitted consults and fills the cache when enabled is set.
class ThumbnailCacheUse {
  public:
    explicit ThumbnailCacheUse(bool enabled);
    ~ThumbnailCacheUse();
    ThumbnailCacheUse(const ThumbnailCacheUse&) = delete;
    ThumbnailCacheUse& operator=(const ThumbnailCacheUse&) = delete;

  private:
    ThumbnailCache cache_;
    bool enabled_;
};

} // namespace velmora::browse
