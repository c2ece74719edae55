// The corrections of a picture whose reader has its colour profile and orientation in hand:
// converts the colours from the profile, then turns the picture upright, each only as far as
// pictureCorrections() asks for it.
#pragma once

#include "image/dib_image.h"
#include "image/picture_metadata.h"

#include <cstdint>
#include <span>

namespace velmora::codecs {

// iccProfile may be empty (nothing to convert); orientation is an EXIF Orientation value. False
// when the picture could not be turned upright: it then stays as stored. metadata, when given,
// is told the profile, whether the colours were converted from it and the turn made.
bool applyStoredCorrections(image::DibImage& image, std::span<const uint8_t> iccProfile,
                            int orientation, image::PictureMetadata* metadata = nullptr);

} // namespace velmora::codecs
