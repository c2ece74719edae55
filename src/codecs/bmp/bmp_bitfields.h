// Direct-colour pixels of 16 or 32 bits whose red, green and blue lie where three masks say.
#pragma once

#include "codecs/bmp/bmp_header.h"

#include <array>
#include <cstdint>

namespace velmora::codecs::bmp {

// Each mask is one run of set bits (or none) inside a pixel of the given depth.
bool masksValid(const ChannelMasks& masks, int bitsPerPixel);

// Turns rows of masked pixels into blue-green-red. A channel of n bits is widened to 8 bits
// rounded to nearest, v * 255 / (2^n - 1) + 0.5; a channel without mask bits is 0.
class MaskedRowConverter {
  public:
    MaskedRowConverter(const ChannelMasks& masks, int bitsPerPixel);
    // Converts the first width pixels of src into dst (3 * width bytes).
    void convert(const uint8_t* src, uint8_t* dst, int32_t width) const;

  private:
    template <int Bytes> void convertPixels(const uint8_t* src, uint8_t* dst, int32_t width) const;

    class Channel {
      public:
        explicit Channel(uint32_t mask);
        uint8_t operator()(uint32_t pixel) const;

      private:
        int shift_;
        uint32_t maximum_;                  // all bits of the channel set, shifted down
        std::array<uint8_t, 256> narrow_{}; // the answers for channels of up to 8 bits
    };

    Channel blue_;
    Channel green_;
    Channel red_;
    int bytesPerPixel_;
};

} // namespace velmora::codecs::bmp
