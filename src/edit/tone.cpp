#include "edit/tone.h"

#include "edit/pixel_blocks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velmora::edit {
namespace {

using ByteTable = std::array<uint8_t, 256>;

// Applies a per-pixel operation op(pixel) to every pixel of every row, after blocks(row, width)
// has done the pixels it returns the count of, from the start of the row.
template <typename Blocks, typename PixelOp>
void forEachPixel(image::DibImage& image, Blocks blocks, PixelOp op) {
    if (!image.hasPixels()) {
        return;
    }
    const int32_t width = image.width();
    for (int32_t y = 0; y < image.height(); ++y) {
        uint8_t* row = image.row(y);
        for (int32_t x = blocks(row, width); x < width; ++x) {
            op(row + 3 * x);
        }
    }
}

// Applies a loop over one row's pixel bytes to every row.
template <typename RowOp> void forEachRow(image::DibImage& image, RowOp op) {
    if (!image.hasPixels()) {
        return;
    }
    const size_t rowBytes = static_cast<size_t>(image.width()) * 3;
    for (int32_t y = 0; y < image.height(); ++y) {
        op(image.row(y), rowBytes);
    }
}

template <typename ByteFunction> ByteTable tableOf(ByteFunction function) {
    ByteTable table;
    for (int v = 0; v < 256; ++v) {
        table[v] = function(v);
    }
    return table;
}

// Maps every pixel byte through a table: most of a row through a second table of byte pairs,
// so that it takes one lookup per two bytes.
void mapBytes(image::DibImage& image, const ByteTable& table) {
    std::vector<uint16_t> pairs(size_t{1} << 16);
    for (size_t v = 0; v < pairs.size(); ++v) {
        pairs[v] = static_cast<uint16_t>(table[v & 0xFF] | table[v >> 8] << 8);
    }
    forEachRow(image, [&](uint8_t* p, size_t n) {
        size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t in;
            std::memcpy(&in, p + i, 8);
            const uint64_t out =
                uint64_t{pairs[in & 0xFFFF]} | uint64_t{pairs[(in >> 16) & 0xFFFF]} << 16 |
                uint64_t{pairs[(in >> 32) & 0xFFFF]} << 32 | uint64_t{pairs[in >> 48]} << 48;
            std::memcpy(p + i, &out, 8);
        }
        for (; i < n; ++i) {
            p[i] = table[p[i]];
        }
    });
}

#if defined(__SSE2__)
// The contrast formula in integers, sixteen bytes at a time: (v - 127.5) * value / 100 + 127.5 is
// (2 v value + 255 (100 - value)) / 200, which floors to (v value + D) / 100 with
// D = floor(255 (100 - value) / 2); below 0 it is 0, above 255 it is 255. The double arithmetic
// may fall just short of a whole number where the exact value is one, so the kernel is used
// only after it has given the table's value for every byte.
class ContrastKernel {
  public:
    explicit ContrastKernel(int value) {
        const int twice = 255 * (100 - value);
        const int d = twice >= 0 ? twice / 2 : -((1 - twice) / 2);
        factor_ = _mm_set1_epi16(static_cast<int16_t>(value));
        add_ = _mm_set1_epi16(static_cast<int16_t>(d > 0 ? d : 0));
        subtract_ = _mm_set1_epi16(static_cast<int16_t>(d < 0 ? -d : 0));
    }

    __m128i apply(__m128i bytes) const {
        const __m128i zero = _mm_setzero_si128();
        return _mm_packus_epi16(applyWords(_mm_unpacklo_epi8(bytes, zero)),
                                applyWords(_mm_unpackhi_epi8(bytes, zero)));
    }

    bool matches(const ByteTable& table) const {
        alignas(16) uint8_t values[256];
        for (int v = 0; v < 256; ++v) {
            values[v] = static_cast<uint8_t>(v);
        }
        for (int i = 0; i < 256; i += 16) {
            auto* block = reinterpret_cast<__m128i*>(values + i);
            _mm_store_si128(block, apply(_mm_load_si128(block)));
        }
        return std::equal(table.begin(), table.end(), values);
    }

  private:
    // v * value + D stays below 38200, where (u * 41944) >> 22 is u / 100.
    __m128i applyWords(__m128i words) const {
        const __m128i product = _mm_mullo_epi16(words, factor_);
        const __m128i shifted = _mm_subs_epu16(_mm_adds_epu16(product, add_), subtract_);
        return _mm_srli_epi16(_mm_mulhi_epu16(shifted, _mm_set1_epi16(-23592)), 6);
    }

    __m128i factor_;
    __m128i add_;
    __m128i subtract_;
};
#endif

} // namespace

void brightness(image::DibImage& image, int value) {
    // Saturating byte arithmetic in the form the compiler turns into vector saturating adds: a
    // sum that wraps around is above 255, a difference that wraps around is below 0.
    const int offset = value - 100;
    const auto amount = static_cast<uint8_t>(offset >= 0 ? offset : -offset);
    if (offset >= 0) {
        forEachRow(image, [amount](uint8_t* p, size_t n) {
            for (size_t i = 0; i < n; ++i) {
                const auto sum = static_cast<uint8_t>(p[i] + amount);
                p[i] = sum < p[i] ? 255 : sum;
            }
        });
    } else {
        forEachRow(image, [amount](uint8_t* p, size_t n) {
            for (size_t i = 0; i < n; ++i) {
                const auto difference = static_cast<uint8_t>(p[i] - amount);
                p[i] = difference > p[i] ? 0 : difference;
            }
        });
    }
}

void contrast(image::DibImage& image, int value) {
    const double factor = value * 0.01;
    const ByteTable table = tableOf([factor](int v) -> uint8_t {
        const double s = (v - 127.5) * factor + 127.5;
        if (s > 255.0) {
            return 255;
        }
        return s < 0.0 ? 0 : static_cast<uint8_t>(std::trunc(s));
    });
#if defined(__SSE2__)
    if (const ContrastKernel kernel(value); kernel.matches(table)) {
        forEachRow(image, [&](uint8_t* p, size_t n) {
            size_t i = 0;
            for (; i + 16 <= n; i += 16) {
                auto* block = reinterpret_cast<__m128i*>(p + i);
                _mm_storeu_si128(block, kernel.apply(_mm_loadu_si128(block)));
            }
            for (; i < n; ++i) {
                p[i] = table[p[i]];
            }
        });
        return;
    }
#endif
    mapBytes(image, table);
}

void threshold(image::DibImage& image, int threshold) {
    // The mean (B + G + R) / 3 is above threshold exactly when the sum is above 3 threshold + 2.
    const int limit = 3 * threshold + 2;
    const auto blocks = [limit](uint8_t* row, int32_t width) {
        return thresholdBlocks(row, width, limit);
    };
    forEachPixel(image, blocks, [limit](uint8_t* p) {
        const uint8_t level = p[0] + p[1] + p[2] > limit ? 255 : 0;
        p[0] = p[1] = p[2] = level;
    });
}

void grey(image::DibImage& image) {
    // Each product depends on one byte only, so it is taken from a table: the sum then adds the
    // very same doubles in the same order as the direct formula.
    std::array<double, 256> green, red, blue;
    for (int v = 0; v < 256; ++v) {
        green[v] = v * 0.587;
        red[v] = v * 0.299;
        blue[v] = v * 0.114;
    }
    forEachPixel(image, greyBlocks, [&](uint8_t* p) {
        const double y = green[p[1]] + red[p[2]] + blue[p[0]];
        const uint8_t level = y >= 256 ? 255 : (y < 0 ? 0 : static_cast<uint8_t>(y));
        p[0] = p[1] = p[2] = level;
    });
}

void negative(image::DibImage& image) {
    forEachRow(image, [](uint8_t* p, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            p[i] = static_cast<uint8_t>(~p[i]);
        }
    });
}

} // namespace velmora::edit
