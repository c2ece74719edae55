#include "codecs/bmp/bmp_layout.h"

#include "codecs/bmp/bmp_bitfields.h"

#include <limits>

namespace velmora::codecs::bmp {
namespace {

std::optional<PixelCoding> codingFor(uint32_t compression, int bits) {
    switch (compression) {
    case kUncompressed:
        switch (bits) {
        case 1:
        case 4:
        case 8:
            return PixelCoding::Indexed;
        case 16:
            return PixelCoding::Bgr555;
        case 24:
            return PixelCoding::Bgr;
        case 32:
            return PixelCoding::Bgrx;
        default:
            return std::nullopt;
        }
    case kRle8:
        return bits == 8 ? std::optional(PixelCoding::Rle8) : std::nullopt;
    case kRle4:
        return bits == 4 ? std::optional(PixelCoding::Rle4) : std::nullopt;
    case kBitfields:
        return bits == 16 || bits == 32 ? std::optional(PixelCoding::Masked) : std::nullopt;
    default:
        return std::nullopt;
    }
}

bool compressed(PixelCoding coding) {
    return coding == PixelCoding::Rle8 || coding == PixelCoding::Rle4;
}

uint32_t tableEntriesFor(const BmpInfo& info, PixelCoding coding, uint64_t tableOffset) {
    if (coding != PixelCoding::Indexed && !compressed(coding)) {
        return 0; // a table behind direct colours only suggests colours: skipped
    }
    const uint32_t full = uint32_t{1} << info.bitsPerPixel;
    const uint32_t used = info.colorsUsed;
    const bool shortTable = used > 0 && used < full && info.dataOffset >= tableOffset + 4 * used &&
                            info.dataOffset < tableOffset + 4 * full;
    return shortTable ? used : full;
}

// The stored pixels from offset on fit in the file: every row, or for run-length data at least
// one code.
bool pixelsFit(const BmpLayout& layout, uint64_t offset, uint64_t fileSize) {
    if (offset > fileSize) {
        return false;
    }
    if (compressed(layout.coding)) {
        return fileSize - offset >= 2;
    }
    // By division, so that no product of hostile sizes can overflow.
    return layout.rowBytes <= (fileSize - offset) / static_cast<uint64_t>(layout.height);
}

} // namespace

std::optional<BmpLayout> planLayout(const BmpInfo& info, uint64_t fileSize) {
    const auto coding = codingFor(info.compression, info.bitsPerPixel);
    if (!coding || info.width < 1 || info.height == 0 ||
        info.height == std::numeric_limits<int32_t>::min()) {
        return std::nullopt;
    }
    BmpLayout layout;
    layout.width = info.width;
    layout.height = info.height > 0 ? info.height : -info.height;
    layout.topDown = info.height < 0;
    layout.bitsPerPixel = info.bitsPerPixel;
    layout.coding = *coding;
    if (layout.topDown && compressed(layout.coding)) {
        return std::nullopt;
    }
    if (layout.coding == PixelCoding::Masked) {
        layout.masks = info.masks;
        if (!masksValid(layout.masks, layout.bitsPerPixel)) {
            return std::nullopt;
        }
    }
    layout.tableOffset = headerBytesFor(info);
    layout.tableEntries = tableEntriesFor(info, layout.coding, layout.tableOffset);
    if (!compressed(layout.coding)) {
        layout.rowBytes = rowBytesFor(static_cast<uint32_t>(layout.width), layout.bitsPerPixel);
    }
    const uint64_t tableEnd = layout.tableOffset + 4 * uint64_t{layout.tableEntries};
    const bool offsetUsable =
        info.dataOffset >= tableEnd && pixelsFit(layout, info.dataOffset, fileSize);
    layout.pixelOffset = offsetUsable ? info.dataOffset : tableEnd;
    if (!pixelsFit(layout, layout.pixelOffset, fileSize)) {
        return std::nullopt;
    }
    return layout;
}

} // namespace velmora::codecs::bmp
