#include "codecs/corrections/picture_corrections.h"

#include <atomic>

namespace velmora::codecs {
namespace {

std::atomic<bool> upright{true};
std::atomic<bool> colourProfiles{true};

} // namespace

void setPictureCorrections(const PictureCorrections& corrections) {
    upright.store(corrections.upright);
    colourProfiles.store(corrections.colourProfiles);
}

PictureCorrections pictureCorrections() {
    return {upright.load(), colourProfiles.load()};
}

} // namespace velmora::codecs
