// LoadedImage: a DibImage that remembers the file it was loaded from and what else that file
// held.
#pragma once

#include "image/dib_image.h"
#include "image/picture_metadata.h"

#include <atomic>
#include <optional>
#include <string>

namespace velmora::image {

class LoadedImage : public DibImage {
  public:
    // Set only while the pixels hold the complete picture of path. The look-ahead worker stores
    // it last with release order; the interface thread reads it with acquire order.
    std::atomic<bool> ready{false};
    std::u16string path;
    PictureMetadata metadata;
    // Set while the picture was edited only by quarter turns and flips since it was read: what
    // they come to. A JPEG save then turns the file's own data instead of encoding again.
    std::optional<Turn> turnsSinceLoad;
};

} // namespace velmora::image
