#include "edit/pixel_blocks.h"

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>

#include <array>

namespace velmora::edit {
namespace {

using ShuffleMask = std::array<int8_t, 16>;

// Picks channel c of the 16 pixels from the k-th of their three 16-byte thirds; -128 (zero) for
// pixels whose byte lies in another third.
constexpr ShuffleMask channelMask(int c, int k) {
    ShuffleMask mask{};
    for (int m = 0; m < 16; ++m) {
        const int at = 3 * m + c;
        mask[m] = static_cast<int8_t>(at / 16 == k ? at % 16 : -128);
    }
    return mask;
}

// Spreads 16 levels, one a pixel, over the k-th third of the pixels' 48 bytes.
constexpr ShuffleMask spreadMask(int k) {
    ShuffleMask mask{};
    for (int j = 0; j < 16; ++j) {
        mask[j] = static_cast<int8_t>((16 * k + j) / 3);
    }
    return mask;
}

// Takes, for the k-th third of 16 reversed pixels, the bytes that lie in the i-th third of the
// pixels in their first order.
constexpr ShuffleMask reverseMask(int k, int i) {
    ShuffleMask mask{};
    for (int j = 0; j < 16; ++j) {
        const int at = 16 * k + j;
        const int from = 3 * (15 - at / 3) + at % 3;
        mask[j] = static_cast<int8_t>(from / 16 == i ? from % 16 : -128);
    }
    return mask;
}

constexpr std::array<std::array<ShuffleMask, 3>, 3> kReverseMasks{{
    {reverseMask(0, 0), reverseMask(0, 1), reverseMask(0, 2)},
    {reverseMask(1, 0), reverseMask(1, 1), reverseMask(1, 2)},
    {reverseMask(2, 0), reverseMask(2, 1), reverseMask(2, 2)},
}};

constexpr std::array<std::array<ShuffleMask, 3>, 3> kChannelMasks{{
    {channelMask(0, 0), channelMask(0, 1), channelMask(0, 2)},
    {channelMask(1, 0), channelMask(1, 1), channelMask(1, 2)},
    {channelMask(2, 0), channelMask(2, 1), channelMask(2, 2)},
}};
constexpr std::array<ShuffleMask, 3> kSpreadMasks{spreadMask(0), spreadMask(1), spreadMask(2)};

__attribute__((target("ssse3"))) __m128i load(const ShuffleMask& mask) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask.data()));
}

struct Thirds {
    __m128i part[3];
};

__attribute__((target("ssse3"))) Thirds loadThirds(const uint8_t* p) {
    return {{_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
             _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)),
             _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32))}};
}

// Channel c of the 16 pixels, one byte each.
__attribute__((target("ssse3"))) __m128i channel(const Thirds& t, int c) {
    const auto& masks = kChannelMasks[c];
    return _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(t.part[0], load(masks[0])),
                                     _mm_shuffle_epi8(t.part[1], load(masks[1]))),
                        _mm_shuffle_epi8(t.part[2], load(masks[2])));
}

// Writes each of 16 levels into all three bytes of its pixel.
__attribute__((target("ssse3"))) void storeLevels(uint8_t* p, __m128i levels) {
    for (int k = 0; k < 3; ++k) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 16 * k),
                         _mm_shuffle_epi8(levels, load(kSpreadMasks[k])));
    }
}

__attribute__((target("ssse3"))) __m128i thresholdLevels(const Thirds& t, __m128i limit) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i b = channel(t, 0), g = channel(t, 1), r = channel(t, 2);
    const __m128i low =
        _mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(g, zero)),
                      _mm_unpacklo_epi8(r, zero));
    const __m128i high =
        _mm_add_epi16(_mm_add_epi16(_mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(g, zero)),
                      _mm_unpackhi_epi8(r, zero));
    return _mm_packs_epi16(_mm_cmpgt_epi16(low, limit), _mm_cmpgt_epi16(high, limit));
}

// Two pixels: the products rounded one by one and summed in the scalar order.
__attribute__((target("ssse3"))) __m128i greyOfTwo(__m128i b, __m128i g, __m128i r) {
    const __m128d y = _mm_add_pd(_mm_add_pd(_mm_mul_pd(_mm_cvtepi32_pd(g), _mm_set1_pd(0.587)),
                                            _mm_mul_pd(_mm_cvtepi32_pd(r), _mm_set1_pd(0.299))),
                                 _mm_mul_pd(_mm_cvtepi32_pd(b), _mm_set1_pd(0.114)));
    return _mm_cvttpd_epi32(y);
}

// Four pixels given as 32-bit channel values.
__attribute__((target("ssse3"))) __m128i greyOfFour(__m128i b, __m128i g, __m128i r) {
    const __m128i low = greyOfTwo(b, g, r);
    const __m128i high =
        greyOfTwo(_mm_srli_si128(b, 8), _mm_srli_si128(g, 8), _mm_srli_si128(r, 8));
    return _mm_unpacklo_epi64(low, high);
}

// Eight pixels given as 16-bit channel values: eight 16-bit levels.
__attribute__((target("ssse3"))) __m128i greyOfEight(__m128i b, __m128i g, __m128i r) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = greyOfFour(_mm_unpacklo_epi16(b, zero), _mm_unpacklo_epi16(g, zero),
                                   _mm_unpacklo_epi16(r, zero));
    const __m128i high = greyOfFour(_mm_unpackhi_epi16(b, zero), _mm_unpackhi_epi16(g, zero),
                                    _mm_unpackhi_epi16(r, zero));
    return _mm_packs_epi32(low, high);
}

__attribute__((target("ssse3"))) __m128i greyLevels(const Thirds& t) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i b = channel(t, 0), g = channel(t, 1), r = channel(t, 2);
    const __m128i low = greyOfEight(_mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(g, zero),
                                    _mm_unpacklo_epi8(r, zero));
    const __m128i high = greyOfEight(_mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(g, zero),
                                     _mm_unpackhi_epi8(r, zero));
    return _mm_packus_epi16(low, high);
}

// Writes the 16 pixels of t in reverse order to p.
__attribute__((target("ssse3"))) void storeReversed(uint8_t* p, const Thirds& t) {
    for (int k = 0; k < 3; ++k) {
        const auto& masks = kReverseMasks[k];
        const __m128i reversed =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(t.part[0], load(masks[0])),
                                      _mm_shuffle_epi8(t.part[1], load(masks[1]))),
                         _mm_shuffle_epi8(t.part[2], load(masks[2])));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 16 * k), reversed);
    }
}

bool hasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

} // namespace

__attribute__((target("ssse3"))) int32_t thresholdBlocks(uint8_t* row, int32_t width, int limit) {
    if (!hasSsse3()) {
        return 0;
    }
    const __m128i limits = _mm_set1_epi16(static_cast<int16_t>(limit));
    int32_t x = 0;
    for (; x + 16 <= width; x += 16) {
        uint8_t* p = row + 3 * x;
        storeLevels(p, thresholdLevels(loadThirds(p), limits));
    }
    return x;
}

__attribute__((target("ssse3"))) int32_t greyBlocks(uint8_t* row, int32_t width) {
    if (!hasSsse3()) {
        return 0;
    }
    int32_t x = 0;
    for (; x + 16 <= width; x += 16) {
        uint8_t* p = row + 3 * x;
        storeLevels(p, greyLevels(loadThirds(p)));
    }
    return x;
}

__attribute__((target("ssse3"))) int32_t mirrorBlocks(uint8_t* row, int32_t width) {
    if (!hasSsse3()) {
        return 0;
    }
    // Both blocks are read before either is written, and they never overlap.
    int32_t a = 0;
    for (; 2 * (a + 16) <= width; a += 16) {
        uint8_t* left = row + 3 * a;
        uint8_t* right = row + 3 * (width - a - 16);
        const Thirds leftPixels = loadThirds(left);
        const Thirds rightPixels = loadThirds(right);
        storeReversed(left, rightPixels);
        storeReversed(right, leftPixels);
    }
    return a;
}

} // namespace velmora::edit

#else

namespace velmora::edit {

int32_t thresholdBlocks(uint8_t*, int32_t, int) {
    return 0;
}

int32_t greyBlocks(uint8_t*, int32_t) {
    return 0;
}

int32_t mirrorBlocks(uint8_t*, int32_t) {
    return 0;
}

} // namespace velmora::edit

#endif
