#include "codecs/corrections/stored_corrections.h"

#include "codecs/corrections/colour_profile.h"
#include "codecs/corrections/orientation.h"
#include "codecs/corrections/picture_corrections.h"

namespace velmora::codecs {

bool applyStoredCorrections(image::DibImage& image, std::span<const uint8_t> iccProfile,
                            int orientation, image::PictureMetadata* metadata) {
    const PictureCorrections wanted = pictureCorrections();
    // Only a profile that describes the picture's red, green and blue is used or kept; the
    // pixels are not in a grey or CMYK profile's space.
    const auto colour = (wanted.colourProfiles || metadata != nullptr) && !iccProfile.empty()
                            ? transformFromProfile(iccProfile, PixelLayout::Bgr)
                            : nullptr;
    const bool converted = wanted.colourProfiles && colour != nullptr;
    if (converted) {
        colour->convertPicture(image);
    }
    const bool turned = wanted.upright && turnUpright(image, orientation);
    if (metadata != nullptr) {
        metadata->icc.clear();
        if (colour != nullptr) {
            metadata->icc.assign(iccProfile.begin(), iccProfile.end());
        }
        metadata->coloursConverted = converted;
        metadata->readerTurn = turned ? image::Turn::uprighting(orientation) : image::Turn{};
    }
    return !wanted.upright || turned;
}

} // namespace velmora::codecs
