// What the readers do to a picture beyond decoding it: turn it upright by the orientation its
// file records, and convert its colours from the profile it embeds to the output profile (the
// screen's when one is known, else sRGB). Process-wide and read by readers on any thread; the
// shell sets it from the settings.
#pragma once

namespace velmora::codecs {

struct PictureCorrections {
    bool upright = true;
    bool colourProfiles = true;

    bool operator==(const PictureCorrections&) const = default;
};

void setPictureCorrections(const PictureCorrections& corrections);
PictureCorrections pictureCorrections();

} // namespace velmora::codecs
