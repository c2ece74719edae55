// LoadedImage: a DibImage that remembers the file it was loaded from.
#pragma once

#include "image/dib_image.h"

#include <atomic>
#include <string>

namespace velmora::image {

class LoadedImage : public DibImage {
  public:
    // Set only while the pixels hold the complete picture of path. The look-ahead worker stores
    // it last with release order; the interface thread reads it with acquire order.
    std::atomic<bool> ready{false};
    std::u16string path;
};

} // namespace velmora::image
