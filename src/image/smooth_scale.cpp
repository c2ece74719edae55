#include "image/smooth_scale.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora::image {
namespace {

// Positions of the visible destination pixels along one axis. A position that would pass the
// end of the source rectangle is held at its end: it is drawn by nearest pixel either way, so
// holding it changes nothing but keeps the 16.16 values from overflowing.
struct AxisWalk {
    int32_t first = 0; // first visible destination index
    int32_t count = 0; // visible destination pixels
    int64_t start = 0; // 16.16 source position of the first visible pixel
    int64_t step = 0;
    int64_t limit = 0; // 16.16 position of the end of the source rectangle

    int64_t at(int32_t k) const {
        const int64_t room = limit - start;
        if (step > 0 && k > room / step) {
            return limit;
        }
        return start + k * step;
    }
};

AxisWalk walkAxis(int32_t sourceStart, int32_t sourceLength, int32_t destStart, int32_t destLength,
                  int32_t destSize, int64_t step) {
    AxisWalk walk;
    const int64_t begin = std::max<int64_t>(destStart, 0);
    const int64_t end = std::min<int64_t>(int64_t{destStart} + destLength, destSize);
    if (begin >= end) {
        return walk;
    }
    walk.first = static_cast<int32_t>(begin);
    walk.count = static_cast<int32_t>(end - begin);
    walk.limit = (int64_t{sourceStart} + sourceLength) << 16;
    walk.step = step;
    walk.start = int64_t{sourceStart} << 16;
    walk.start = walk.at(static_cast<int32_t>(begin - destStart));
    return walk;
}

// Source index of a 16.16 position, held inside [.., end - 1].
int32_t sourceIndex(int64_t position, int32_t end) {
    return static_cast<int32_t>(std::min<int64_t>(position >> 16, end - 1));
}

int fractionByte(int64_t position) {
    return static_cast<int>((position >> 8) & 0xFF);
}

bool validRect(PixelRect rect) {
    return rect.width > 0 && rect.height > 0;
}

bool insideSource(PixelRect rect, const ConstPixels& source) {
    return rect.x >= 0 && rect.y >= 0 && int64_t{rect.x} + rect.width <= source.width &&
           int64_t{rect.y} + rect.height <= source.height;
}

// Per visible destination column: byte offset of the source pixel and its weight; columns
// drawn by nearest pixel form a prefix (source column 0) and a suffix (last column).
struct ColumnTable {
    std::vector<int32_t> offset;
    std::vector<uint16_t> weight;
#if defined(__SSE2__)
    // The weight c and 255 - c each in three 16-bit lanes, the fourth zero.
    std::vector<uint64_t> weightLanes;
    std::vector<uint64_t> complementLanes;
#endif
    int32_t smoothBegin = 0;
    int32_t smoothEnd = 0;
};

ColumnTable makeColumns(const AxisWalk& walk, int32_t right) {
    ColumnTable table;
    table.offset.resize(walk.count);
    table.weight.resize(walk.count);
#if defined(__SSE2__)
    table.weightLanes.resize(walk.count);
    table.complementLanes.resize(walk.count);
#endif
    table.smoothBegin = walk.count;
    table.smoothEnd = 0;
    for (int32_t k = 0; k < walk.count; ++k) {
        const int64_t position = walk.at(k);
        const int32_t b = sourceIndex(position, right);
        table.offset[k] = 3 * b;
        table.weight[k] = static_cast<uint16_t>(fractionByte(position));
#if defined(__SSE2__)
        table.weightLanes[k] = table.weight[k] * 0x0000000100010001ULL;
        table.complementLanes[k] = (255U - table.weight[k]) * 0x0000000100010001ULL;
#endif
        if (b != 0 && b != right - 1) {
            table.smoothBegin = std::min(table.smoothBegin, k);
            table.smoothEnd = k + 1;
        }
    }
    if (table.smoothEnd == 0) {
        table.smoothBegin = 0;
    }
    return table;
}

void copyNearest(const uint8_t* sourceRow, const ColumnTable& columns, int32_t from, int32_t to,
                 uint8_t* out) {
    for (int32_t k = from; k < to; ++k) {
        std::memcpy(out + 3 * k, sourceRow + columns.offset[k], 3);
    }
}

// Both ways below give the same integers: the weighted sum is distributed either way round.

// Across first, pixel by pixel: for strong reductions, where most source pixels are skipped.
void blendPixels(const uint8_t* top, const uint8_t* bottom, int e, const ColumnTable& columns,
                 int32_t from, int32_t to, uint8_t* out) {
    const int32_t upper = 255 - e;
    for (int32_t k = from; k < to; ++k) {
        const uint8_t* p = top + columns.offset[k];
        const uint8_t* q = bottom + columns.offset[k];
        const int32_t c = columns.weight[k];
        const int32_t left = 255 - c;
        uint8_t* d = out + 3 * k;
        for (int ch = 0; ch < 3; ++ch) {
            const int32_t value =
                (p[ch] * left + p[ch + 3] * c) * upper + (q[ch] * left + q[ch + 3] * c) * e;
            d[ch] = static_cast<uint8_t>(value >> 16);
        }
    }
}

#if defined(__SSE2__)

// The source bytes of destination pixels k and k + 1 in one row: 32-bit lanes holding the left
// pixel of k, of k + 1, then the right pixel of k, of k + 1 (blue, green, red, one spare byte).
// Each load takes the eight bytes that end with the right pixel; the two bytes before the left
// pixel are inside the row because smoothed columns are never source column 0, and nothing past
// the right pixel is read.
[[gnu::always_inline]] inline __m128i gatherPair(const uint8_t* row, int32_t offsetK,
                                                 int32_t offsetNext) {
    const __m128i first = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + offsetK - 2));
    const __m128i both = _mm_castpd_si128(_mm_loadh_pd(
        _mm_castsi128_pd(first), reinterpret_cast<const double*>(row + offsetNext - 2)));
    const __m128 left = _mm_castsi128_ps(_mm_srli_epi64(both, 16));
    const __m128 right = _mm_castsi128_ps(_mm_srli_epi64(both, 40));
    return _mm_castps_si128(_mm_shuffle_ps(left, right, _MM_SHUFFLE(2, 0, 2, 0)));
}

// Pixels k and k + 1 as 16-bit lanes (blue, green, red, spare, twice). Down first: each
// down-blended byte is at most 255 * 255 and fits 16 bits; across then needs the 32-bit sum
// v * (255 - c) + v' * c, of which only the high half is kept, built from the halves of the
// products: high halves added, plus the carry out of the low halves.
[[gnu::always_inline]] inline __m128i blendPair(const uint8_t* top, const uint8_t* bottom,
                                                __m128i upper, __m128i lower,
                                                const ColumnTable& columns, int32_t k) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i above = gatherPair(top, columns.offset[k], columns.offset[k + 1]);
    const __m128i below = gatherPair(bottom, columns.offset[k], columns.offset[k + 1]);
    const __m128i leftDown = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(above, zero), upper),
                                           _mm_mullo_epi16(_mm_unpacklo_epi8(below, zero), lower));
    const __m128i rightDown = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(above, zero), upper),
                                            _mm_mullo_epi16(_mm_unpackhi_epi8(below, zero), lower));
    const __m128i c =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(columns.weightLanes.data() + k));
    const __m128i notC =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(columns.complementLanes.data() + k));
    const __m128i lowLeft = _mm_mullo_epi16(leftDown, notC);
    const __m128i low = _mm_add_epi16(lowLeft, _mm_mullo_epi16(rightDown, c));
    const __m128i high =
        _mm_add_epi16(_mm_mulhi_epu16(leftDown, notC), _mm_mulhi_epu16(rightDown, c));
    // Unsigned low < lowLeft means the low halves overflowed; the mask is -1 there.
    const __m128i bias = _mm_set1_epi16(static_cast<int16_t>(0x8000));
    const __m128i carry = _mm_cmpgt_epi16(_mm_xor_si128(lowLeft, bias), _mm_xor_si128(low, bias));
    return _mm_sub_epi16(high, carry);
}

// Four pixels at a time. Each store of six bytes writes two spare bytes after them, so a group is
// only stored when a later pixel of this span overwrites those.
void blendEachPixel(const uint8_t* top, const uint8_t* bottom, int e, const ColumnTable& columns,
                    uint8_t* out) {
    const __m128i upper = _mm_set1_epi16(static_cast<int16_t>(255 - e));
    const __m128i lower = _mm_set1_epi16(static_cast<int16_t>(e));
    const __m128i keepLow = _mm_set1_epi64x(0x0000000000FFFFFF);
    const __m128i keepHigh = _mm_set1_epi64x(0x0000FFFFFF000000);
    int32_t k = columns.smoothBegin;
    for (; k + 4 < columns.smoothEnd; k += 4) {
        const __m128i bytes =
            _mm_packus_epi16(blendPair(top, bottom, upper, lower, columns, k),
                             blendPair(top, bottom, upper, lower, columns, k + 2));
        // Per 64-bit half: drop the spare byte between the two pixels.
        const __m128i packed = _mm_or_si128(_mm_and_si128(bytes, keepLow),
                                            _mm_and_si128(_mm_srli_epi64(bytes, 8), keepHigh));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 3 * k), packed);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 3 * k + 6),
                         _mm_unpackhi_epi64(packed, packed));
    }
    blendPixels(top, bottom, e, columns, k, columns.smoothEnd, out);
}

#else

void blendEachPixel(const uint8_t* top, const uint8_t* bottom, int e, const ColumnTable& columns,
                    uint8_t* out) {
    blendPixels(top, bottom, e, columns, columns.smoothBegin, columns.smoothEnd, out);
}

#endif

// Down first over the whole span of source bytes in use (one weight for the row, a loop the
// compiler vectorises), then across: for milder reductions, where most source pixels are used.
// Each down-blended byte is at most 255 * 255 and fits 16 bits.
void blendRowsFirst(const uint8_t* top, const uint8_t* bottom, int e, const ColumnTable& columns,
                    std::vector<uint16_t>& blended, uint8_t* out) {
    const int32_t first = columns.offset[columns.smoothBegin];
    const int32_t span = columns.offset[columns.smoothEnd - 1] + 6 - first;
    const auto upper = static_cast<uint16_t>(255 - e);
    const auto lower = static_cast<uint16_t>(e);
    uint16_t* v = blended.data();
    for (int32_t i = 0; i < span; ++i) {
        v[i] = static_cast<uint16_t>(top[first + i] * upper + bottom[first + i] * lower);
    }
    for (int32_t k = columns.smoothBegin; k < columns.smoothEnd; ++k) {
        const uint16_t* p = v + (columns.offset[k] - first);
        const uint32_t c = columns.weight[k];
        const uint32_t left = 255 - c;
        uint8_t* d = out + 3 * k;
        for (int ch = 0; ch < 3; ++ch) {
            d[ch] = static_cast<uint8_t>((p[ch] * left + p[ch + 3] * c) >> 16);
        }
    }
}

// Down first pays when it blends at most this many source pixels per drawn pixel. With SSE2 the
// pixel-by-pixel blend is faster at every ratio measured, enlargements included.
#if defined(__SSE2__)
constexpr int32_t kRowsFirstMaxRatio = 0;
#else
constexpr int32_t kRowsFirstMaxRatio = 4;
#endif

} // namespace

ScaleSteps smoothScaleSteps(int32_t sw, int32_t sh, int32_t w, int32_t h) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) {
        return {};
    }
    return {static_cast<int64_t>(static_cast<double>(sw) / w * 65536.0),
            static_cast<int64_t>(static_cast<double>(sh) / h * 65536.0)};
}

void smoothScaleFrom(DibImage& destination, PixelRect to, const DibImage& source, PixelRect from) {
    if (!destination.hasPixels() || !source.hasPixels()) {
        return;
    }
    const ScaleSteps steps = smoothScaleSteps(from.width, from.height, to.width, to.height);
    bilinearScaleRows(
        {source.bits(), source.width(), source.height(), source.stride()}, from,
        {destination.bits(), destination.width(), destination.height(), destination.stride()}, to,
        steps.x, steps.y);
}

void bilinearScaleRows(const ConstPixels& source, PixelRect sourceRect, const Pixels& destination,
                       PixelRect destinationRect, int64_t xStep, int64_t yStep) {
    if (source.bits == nullptr || destination.bits == nullptr || !validRect(sourceRect) ||
        !validRect(destinationRect) || !insideSource(sourceRect, source) || xStep < 0 ||
        yStep < 0) {
        return;
    }
    const int32_t right = sourceRect.x + sourceRect.width;
    const int32_t bottom = sourceRect.y + sourceRect.height;
    const AxisWalk cols = walkAxis(sourceRect.x, sourceRect.width, destinationRect.x,
                                   destinationRect.width, destination.width, xStep);
    const AxisWalk rows = walkAxis(sourceRect.y, sourceRect.height, destinationRect.y,
                                   destinationRect.height, destination.height, yStep);
    if (cols.count == 0 || rows.count == 0) {
        return;
    }
    const ColumnTable columns = makeColumns(cols, right);
    const int32_t smoothCount = columns.smoothEnd - columns.smoothBegin;
    std::vector<uint16_t> blended;
    if (smoothCount > 0) {
        const int32_t span =
            columns.offset[columns.smoothEnd - 1] + 6 - columns.offset[columns.smoothBegin];
        if (span / 3 <= kRowsFirstMaxRatio * smoothCount) {
            blended.resize(static_cast<size_t>(span));
        }
    }
    for (int32_t k = 0; k < rows.count; ++k) {
        const int64_t position = rows.at(k);
        const int32_t t = sourceIndex(position, bottom);
        const uint8_t* top = source.bits + static_cast<size_t>(t) * source.stride;
        uint8_t* out = destination.bits + static_cast<size_t>(rows.first + k) * destination.stride +
                       3 * static_cast<size_t>(cols.first);
        if (t == 0 || t == bottom - 1) {
            copyNearest(top, columns, 0, cols.count, out);
            continue;
        }
        copyNearest(top, columns, 0, columns.smoothBegin, out);
        const uint8_t* below = top + source.stride;
        if (blended.empty()) {
            blendEachPixel(top, below, fractionByte(position), columns, out);
        } else {
            blendRowsFirst(top, below, fractionByte(position), columns, blended, out);
        }
        copyNearest(top, columns, columns.smoothEnd, cols.count, out);
    }
}

} // namespace velmora::image
