#include "codecs/corrections/stored_corrections.h"

#include "codecs/corrections/colour_profile.h"
#include "codecs/corrections/orientation.h"
#include "codecs/corrections/picture_corrections.h"

namespace velmora::codecs {

bool applyStoredCorrections(image::DibImage& image, std::span<const uint8_t> iccProfile,
                            int orientation) {
    const PictureCorrections wanted = pictureCorrections();
    if (wanted.colourProfiles && !iccProfile.empty()) {
        if (const auto colour = transformFromProfile(iccProfile, PixelLayout::Bgr)) {
            colour->convertPicture(image);
        }
    }
    return !wanted.upright || turnUpright(image, orientation);
}

} // namespace velmora::codecs
