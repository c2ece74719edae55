#include "codecs/metadata/exif_payload.h"

#include <algorithm>
#include <array>

namespace velmora::codecs {

std::vector<uint8_t> bareExif(std::span<const uint8_t> block) {
    static constexpr std::array<uint8_t, 6> kHeader{'E', 'x', 'i', 'f', 0, 0};
    if (block.size() >= kHeader.size() &&
        std::equal(kHeader.begin(), kHeader.end(), block.begin())) {
        block = block.subspan(kHeader.size());
    }
    return {block.begin(), block.end()};
}

std::vector<uint8_t> exifAfterHeaderOffset(std::span<const uint8_t> payload) {
    if (payload.size() < 4) {
        return {};
    }
    const uint64_t offset = uint64_t{payload[0]} << 24 | uint64_t{payload[1]} << 16 |
                            uint64_t{payload[2]} << 8 | payload[3];
    if (offset >= payload.size() - 4) {
        return {};
    }
    return bareExif(payload.subspan(4 + offset));
}

} // namespace velmora::codecs
