#include "codecs/mag/mag_decoder.h"

#include <cstddef>
#include <cstring>

namespace velmora::codecs::mag {
namespace {

constexpr char kSignature[] = "MAKI02  ";
constexpr size_t kSignatureSize = 8;
constexpr uint8_t kCommentEnd = 0x1A;
constexpr size_t kHeaderSize = 32;
constexpr int kMaxFlagBytes = 512;

// Where a non-zero flag copies its 2-byte unit from: dx bytes to the left, dy lines up.
constexpr int kCopyDx[16] = {0, 2, 4, 8, 0, 2, 0, 2, 4, 0, 2, 4, 0, 2, 4, 0};
constexpr int kCopyDy[16] = {0, 0, 0, 0, 1, 1, 2, 2, 2, 4, 4, 4, 8, 8, 8, 16};
constexpr int kMaxCopyDy = 16;
constexpr int kMaxCopyDx = 8;

int le16s(const uint8_t* p) {
    return static_cast<int16_t>(p[0] | p[1] << 8);
}

uint32_t le32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

struct Layout {
    int flagBytes = 0; // L: flag bytes per line, each covering 4 bytes of pixel data
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    size_t flagA = 0; // file offsets of the three streams
    size_t flagB = 0;
    size_t pixelData = 0;
};

// The three stream cursors, each with the end of the file as its bound.
struct Streams {
    const uint8_t* flagA;
    const uint8_t* flagB;
    const uint8_t* pixels;
    const uint8_t* end;
};

MagResult readLayout(std::span<const uint8_t> file, Layout& layout, size_t& paletteAt) {
    if (file.size() < kSignatureSize || std::memcmp(file.data(), kSignature, kSignatureSize) != 0) {
        return MagResult::BadSignature;
    }
    const auto* commentEnd = static_cast<const uint8_t*>(
        std::memchr(file.data() + kSignatureSize, kCommentEnd, file.size() - kSignatureSize));
    if (commentEnd == nullptr) {
        return MagResult::NoCommentEnd;
    }
    const size_t headerAt = static_cast<size_t>(commentEnd - file.data()) + 1;
    if (file.size() - headerAt < kHeaderSize) {
        return MagResult::HeaderCut;
    }
    const uint8_t* header = file.data() + headerAt;
    const bool colors256 = (header[3] & 0x80) != 0;
    const int colors = colors256 ? 256 : 16;
    paletteAt = headerAt + kHeaderSize;
    if (file.size() - paletteAt < size_t{3} * colors) {
        return MagResult::PaletteCut;
    }

    const int left = le16s(header + 4);
    const int top = le16s(header + 6);
    const int right = le16s(header + 8);
    const int bottom = le16s(header + 10);
    const int pixelsPerFlag = colors256 ? 4 : 8;
    layout.flagBytes = right / pixelsPerFlag - left / pixelsPerFlag + 1;
    if (bottom < top || layout.flagBytes < 1 || layout.flagBytes > kMaxFlagBytes) {
        return MagResult::BadGeometry;
    }
    layout.width = pixelsPerFlag * layout.flagBytes;
    layout.height = bottom - top + 1;
    layout.bitsPerPixel = colors256 ? 8 : 4;

    layout.flagA = headerAt + le32(header + 12);
    layout.flagB = headerAt + le32(header + 16);
    layout.pixelData = headerAt + le32(header + 24);
    // Flag A holds exactly one bit per flag byte of the picture: check it whole up front, which
    // also bounds the picture size by the file size before anything is allocated.
    const uint64_t flagABytes =
        (uint64_t{static_cast<uint32_t>(layout.flagBytes)} * static_cast<uint32_t>(layout.height) +
         7) /
        8;
    if (layout.flagA > file.size() || flagABytes > file.size() - layout.flagA ||
        layout.flagB > file.size() || layout.pixelData > file.size()) {
        return MagResult::StreamOutside;
    }
    if (exceedsImageLimits(layout.width, layout.height)) {
        return MagResult::TooLarge;
    }
    return MagResult::Decoded;
}

void convertPalette(const uint8_t* grb, int colors, PackedBitmap& bitmap) {
    for (int i = 0; i < colors; ++i, grb += 3) {
        bitmap.setColor(i, grb[1], grb[0], grb[2]);
    }
}

// One picture line. Checked is false only for lines where no copy can leave the picture.
template <bool Checked>
MagResult decodeLine(uint8_t* out, uint8_t* flagLine, int flagBytes, uint8_t& flagAMask,
                     Streams& in, const ptrdiff_t (&copyOffset)[16], const uint8_t* pictureBegin,
                     const uint8_t* pictureEnd) {
    auto putUnit = [&](int flag, uint8_t* dst) {
        if (flag == 0) {
            if (in.end - in.pixels < 2) {
                return MagResult::StreamOutside;
            }
            std::memcpy(dst, in.pixels, 2);
            in.pixels += 2;
            return MagResult::Decoded;
        }
        const uint8_t* src = dst + copyOffset[flag];
        if (Checked && (src < pictureBegin || pictureEnd - src < 2)) {
            return MagResult::CopyOutside;
        }
        std::memcpy(dst, src, 2);
        return MagResult::Decoded;
    };
    for (int j = 0; j < flagBytes; ++j, out += 4) {
        if (*in.flagA & flagAMask) {
            if (in.flagB >= in.end) {
                return MagResult::StreamOutside;
            }
            flagLine[j] ^= *in.flagB++;
        }
        flagAMask >>= 1;
        if (flagAMask == 0) {
            flagAMask = 0x80;
            ++in.flagA;
        }
        const uint8_t flags = flagLine[j];
        if (const MagResult r = putUnit(flags >> 4, out); r != MagResult::Decoded) {
            return r;
        }
        if (const MagResult r = putUnit(flags & 0x0F, out + 2); r != MagResult::Decoded) {
            return r;
        }
    }
    return MagResult::Decoded;
}

} // namespace

MagResult decodeMagBitmap(std::span<const uint8_t> file, PackedBitmap& bitmap, MagSize& size) {
    bitmap = PackedBitmap{};
    Layout layout;
    size_t paletteAt = 0;
    const MagResult layoutResult = readLayout(file, layout, paletteAt);
    size = {layout.width, layout.height};
    if (layoutResult != MagResult::Decoded) {
        return layoutResult;
    }
    PackedBitmap out;
    if (!out.allocate(layout.width, layout.height, layout.bitsPerPixel)) {
        return MagResult::NoMemory;
    }
    convertPalette(file.data() + paletteAt, 1 << layout.bitsPerPixel, out);

    // The bitmap is bottom-up, so the line dy lines up lies dy rows further on in memory. The
    // rows carry no padding: 4 bytes of pixel data per flag byte is a multiple of 4 already.
    const auto rowBytes = static_cast<ptrdiff_t>(out.rowBytes());
    ptrdiff_t copyOffset[16];
    for (int k = 0; k < 16; ++k) {
        copyOffset[k] = rowBytes * kCopyDy[k] - kCopyDx[k];
    }
    Streams in{file.data() + layout.flagA, file.data() + layout.flagB,
               file.data() + layout.pixelData, file.data() + file.size()};
    uint8_t flagLine[kMaxFlagBytes] = {};
    uint8_t flagAMask = 0x80;
    uint8_t* const begin = out.pixels();
    uint8_t* const end = out.pixelsEnd();
    for (int y = 0; y < layout.height; ++y) {
        uint8_t* const line = out.pictureRow(y);
        const bool copiesInside = y >= kMaxCopyDy && line - begin >= kMaxCopyDx;
        const MagResult r = copiesInside ? decodeLine<false>(line, flagLine, layout.flagBytes,
                                                             flagAMask, in, copyOffset, begin, end)
                                         : decodeLine<true>(line, flagLine, layout.flagBytes,
                                                            flagAMask, in, copyOffset, begin, end);
        if (r != MagResult::Decoded) {
            return r;
        }
    }
    bitmap = std::move(out);
    return MagResult::Decoded;
}

} // namespace velmora::codecs::mag
