// Takes arbitrary bytes as an embedded ICC profile for every kind of decoded pixel, and their
// first 36 bytes as PNG gAMA and cHRM values, and converts a row through each transform made.
#include "codecs/corrections/colour_profile.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

using velmora::codecs::PixelLayout;

constexpr uint32_t kPixels = 16;

void convertRow(const std::shared_ptr<const velmora::codecs::ColourTransform>& transform,
                const uint8_t* data, size_t size) {
    if (!transform) {
        return;
    }
    std::array<uint8_t, 4 * kPixels> in{};
    for (size_t i = 0; i < in.size(); ++i) {
        in[i] = static_cast<uint8_t>(size == 0 ? i * 37 : data[i % size] + i * 37);
    }
    std::array<uint8_t, 3 * kPixels> out{};
    transform->convert(in.data(), out.data(), kPixels);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const PixelLayout layout :
         {PixelLayout::Bgr, PixelLayout::Cmyk, PixelLayout::InvertedCmyk}) {
        convertRow(velmora::codecs::transformFromProfile({data, size}, layout), data, size);
    }
    if (size >= 36) {
        std::array<uint32_t, 9> values{};
        std::memcpy(values.data(), data, sizeof values);
        const std::vector<uint8_t> made = velmora::codecs::profileFromGammaAndPrimaries(
            values[0], std::span<const uint32_t>(values).subspan(1, (values[0] & 1) ? 8 : 0));
        convertRow(velmora::codecs::transformFromProfile(made, PixelLayout::Bgr), data, size);
    }
    return 0;
}
