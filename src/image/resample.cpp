#include "image/resample.h"

#include "image/view_state.h"

#include <cmath>

namespace velmora::image {

uint8_t bilinearSample(uint8_t p00, uint8_t p10, uint8_t p01, uint8_t p11, double fx, double fy) {
    const double v = p00 + (p01 - p00) * fy + ((p10 - p00) + (p11 + p00 - p01 - p10) * fy) * fx;
    if (!(v > 0)) {
        return 0;
    }
    return v >= 255 ? 255 : static_cast<uint8_t>(std::trunc(v));
}

namespace {

// Resamples one byte of each pixel: the source bytes lie Step apart along sourceRow(y), the
// destination bytes likewise along destinationRow(y). onRow(r) runs after each destination row.
template <int Step, typename SourceRow, typename DestinationRow, typename OnRow>
void resampleChannel(ViewSize from, ViewSize to, SourceRow sourceRow, DestinationRow destinationRow,
                     OnRow onRow) {
    const int32_t W = to.width, H = to.height, w = from.width, h = from.height;
    const double stepX = 1 / (static_cast<double>(W) / w);
    const double stepY = 1 / (static_cast<double>(H) / h);
    double fy = 0;
    for (int32_t r = 0; r < H; ++r, fy += stepY) {
        const auto iy = static_cast<int32_t>(fy);
        // Rows at or past the last one use the last row for both neighbours.
        const int32_t y0 = iy < h - 1 ? iy : h - 1;
        const int32_t y1 = iy < h - 1 ? iy + 1 : h - 1;
        const uint8_t* top = sourceRow(y0);
        const uint8_t* below = sourceRow(y1);
        uint8_t* out = destinationRow(r);
        double fx = 0;
        for (int32_t k = 0; k < W; ++k, fx += stepX) {
            const auto ix = static_cast<int32_t>(fx);
            const int32_t x0 = Step * (ix < w - 1 ? ix : w - 1);
            const int32_t x1 = Step * (ix < w - 1 ? ix + 1 : w - 1);
            out[Step * k] =
                bilinearSample(top[x0], top[x1], below[x0], below[x1], fx - ix, fy - iy);
        }
        onRow(r);
    }
}

} // namespace

void resampleFrom(DibImage& destination, const DibImage& source, const ResampleProgress& progress) {
    if (!destination.hasPixels() || !source.hasPixels()) {
        return;
    }
    const ViewSize from{source.width(), source.height()};
    const ViewSize to{destination.width(), destination.height()};
    auto report = [&progress](int percent) {
        if (progress) {
            progress(percent);
        }
    };
    for (int pass = 0; pass < 3; ++pass) {
        resampleChannel<3>(
            from, to, [&](int32_t y) { return source.row(y) + pass; },
            [&](int32_t y) { return destination.row(y) + pass; },
            [&](int32_t r) {
                if (r % 32 == 0) {
                    report(pass * 33 + static_cast<int>(int64_t{r} * 33 / to.height));
                }
            });
    }
    if (source.hasAlpha() && destination.hasAlpha()) {
        resampleChannel<1>(
            from, to, [&](int32_t y) { return source.alphaRow(y); },
            [&](int32_t y) { return destination.alphaRow(y); }, [](int32_t) {});
    }
    report(100);
}

} // namespace velmora::image
