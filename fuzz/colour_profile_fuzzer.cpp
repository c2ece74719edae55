// Takes arbitrary bytes as an embedded ICC profile, or their first 36 bytes as PNG gAMA and cHRM
// values, and converts a few pixels through the transform made. The last byte picks one of the
// four paths, so each input builds at most one transform (the costly part) and the mutator
// still reaches every path. Run with -max_len=8192: profiles are seldom larger, and a larger
// input only makes Little CMS read bigger tables.
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
        in[i] = static_cast<uint8_t>(data[i % size] + i * 37);
    }
    std::array<uint8_t, 3 * kPixels> out{};
    transform->convert(in.data(), out.data(), kPixels);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    static constexpr PixelLayout kLayouts[] = {PixelLayout::Bgr, PixelLayout::Cmyk,
                                               PixelLayout::InvertedCmyk};
    const unsigned path = data[size - 1] % 4;
    if (path < 3) {
        convertRow(velmora::codecs::transformFromProfile({data, size}, kLayouts[path]), data, size);
    } else if (size >= 36) {
        std::array<uint32_t, 9> values{};
        std::memcpy(values.data(), data, sizeof values);
        const std::vector<uint8_t> made = velmora::codecs::profileFromGammaAndPrimaries(
            values[0], std::span<const uint32_t>(values).subspan(1, (values[0] & 1) ? 8 : 0));
        convertRow(velmora::codecs::transformFromProfile(made, PixelLayout::Bgr), data, size);
    }
    return 0;
}
