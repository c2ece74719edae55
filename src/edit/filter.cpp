#include "edit/filter.h"

#include <cstdint>
#include <new>
#include <vector>

namespace velmora::edit {
namespace {

uint8_t clampToByte(int v) {
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

struct Blur {
    uint8_t operator()(const uint8_t* a, const uint8_t* m, const uint8_t* z, int32_t k) const {
        const int s = a[k - 1] + a[k] + a[k + 1] + m[k - 1] + m[k + 1] + z[k - 1] + z[k] + z[k + 1];
        return static_cast<uint8_t>(s / 8);
    }
};

struct Sharpen {
    uint8_t operator()(const uint8_t* a, const uint8_t* m, const uint8_t* z, int32_t k) const {
        return clampToByte(5 * m[k] - m[k - 1] - m[k + 1] - a[k] - z[k]);
    }
};

struct Emboss {
    uint8_t operator()(const uint8_t* a, const uint8_t* m, const uint8_t* z, int32_t k) const {
        const int d = a[k - 1] + a[k] + m[k - 1] - 2 * m[k + 1] - z[k];
        return clampToByte(d / 4 + 128);
    }
};

void loadChannel(uint8_t* buffer, const uint8_t* row, int32_t width, int channel) {
    for (int32_t k = 0; k < width; ++k) {
        buffer[k] = row[3 * k + channel];
    }
}

template <typename Kernel>
bool runFilter(image::DibImage& image, const Progress& progress, Kernel kernel) {
    const int32_t W = image.width(), H = image.height();
    if (!image.hasPixels() || W <= 2 || H <= 2) {
        return true;
    }
    std::vector<uint8_t> rows;
    try {
        rows.resize(3 * static_cast<size_t>(W));
    } catch (const std::bad_alloc&) {
        return false;
    }
    uint8_t* a = rows.data();
    uint8_t* m = a + W;
    uint8_t* z = m + W;
    for (int c = 0; c < 3; ++c) {
        loadChannel(a, image.row(0), W, c);
        loadChannel(m, image.row(1), W, c);
        loadChannel(z, image.row(2), W, c);
        for (int32_t j = 1; j <= H - 2; ++j) {
            uint8_t* out = image.row(j) + c;
            for (int32_t k = 1; k <= W - 2; ++k) {
                out[3 * k] = kernel(a, m, z, k);
            }
            // The oldest row buffer takes the next row: a, m, z move down by one.
            uint8_t* oldest = a;
            a = m;
            m = z;
            z = oldest;
            if (j + 2 <= H - 1) {
                loadChannel(z, image.row(j + 2), W, c);
            }
            if (j % 32 == 0 && progress) {
                progress(static_cast<int>(int64_t{j} * 33 / H) + c * 33);
            }
        }
    }
    if (progress) {
        progress(100);
    }
    return true;
}

} // namespace

bool blur(image::DibImage& image, const Progress& progress) {
    return runFilter(image, progress, Blur{});
}

bool sharpen(image::DibImage& image, const Progress& progress) {
    return runFilter(image, progress, Sharpen{});
}

bool emboss(image::DibImage& image, const Progress& progress) {
    return runFilter(image, progress, Emboss{});
}

} // namespace velmora::edit
