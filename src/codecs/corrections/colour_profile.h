// Colour conversion of decoded pixels from the ICC profile a picture embeds to the output
// profile: the screen's profile when one was given (setDisplayProfile), else sRGB. Little CMS
// 8-bit transforms with perceptual intent, made once per embedded profile and kept for the
// pictures that follow; safe to use from several threads at once.
#pragma once

#include "image/dib_image.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace velmora::codecs {

// How the decoded pixels that go into a transform are laid out. The output is always the
// image's blue, green, red.
enum class PixelLayout {
    Bgr,
    Cmyk,
    InvertedCmyk, // stored with 255 for no ink, as Adobe's programs write CMYK JPEGs
};

class ColourTransform {
  public:
    explicit ColourTransform(void* handle) : handle_(handle) {}
    ~ColourTransform();
    ColourTransform(const ColourTransform&) = delete;
    ColourTransform& operator=(const ColourTransform&) = delete;

    // Converts count pixels; in and out may be the same row when both are blue, green, red.
    void convert(const uint8_t* in, uint8_t* out, uint32_t count) const;
    // Converts a blue, green, red picture in place; large ones by two threads.
    void convertPicture(image::DibImage& image) const;

  private:
    void* handle_;
};

// The transform from an embedded profile for pixels of the given layout; null when the profile
// cannot be read, does not describe that kind of pixel, or no transform can be made from it.
std::shared_ptr<const ColourTransform> transformFromProfile(std::span<const uint8_t> profile,
                                                            PixelLayout layout);

// An RGB profile made from a PNG's gAMA (file gamma x 100000; 0 when absent) and cHRM
// (white x, y then red, green, blue x, y, each x 100000; empty when absent) values. Empty when
// the values describe sRGB (a file gamma within 5 % of 1/2.2 counts as sRGB's encoding, as
// libpng takes it) or no usable colour space: the picture is then left as it is.
std::vector<uint8_t> profileFromGammaAndPrimaries(uint32_t fileGamma,
                                                  std::span<const uint32_t> primaries);

// The screen's profile (ICC bytes); empty, or bytes that are not a usable RGB profile, give sRGB.
// Transforms made before the change are dropped.
void setDisplayProfile(std::vector<uint8_t> profile);

// The output profile's ICC bytes: what converted pixels are in.
std::vector<uint8_t> outputProfileBytes();

} // namespace velmora::codecs
