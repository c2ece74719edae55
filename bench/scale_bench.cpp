// The view's two ways of drawing a reduced picture: the smooth bilinear reduction and the
// nearest-pixel stretch, from a 12-megapixel picture to a large screen (1440 x 1080), to a
// common laptop window (1024 x 768, a step near 4 where most source pixels are skipped) and to a
// handheld screen (240 x 320). The picture is photo-12mp.jpg from the folder named by
// VELMORA_BENCH_CORPUS, or a generated 4000 x 3000 one when that is not set.
#include "codecs/load_image.h"
#include "image/dib_image.h"
#include "image/loaded_image.h"
#include "image/smooth_scale.h"
#include "platform/device_fs.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>

namespace {

using namespace velmora;

// Smooth colour ramps with noise: no long runs of equal pixels.
void generatePicture(image::DibImage& picture) {
    (void)picture.create(4000, 3000); // the benchmark sizes always fit
    std::minstd_rand random(12);
    for (int32_t y = 0; y < picture.height(); ++y) {
        uint8_t* row = picture.row(y);
        for (int32_t x = 0; x < picture.width(); ++x) {
            const auto noise = static_cast<int>(random() % 32);
            row[3 * x] = static_cast<uint8_t>(x / 16 + noise);
            row[3 * x + 1] = static_cast<uint8_t>(y / 12 + noise);
            row[3 * x + 2] = static_cast<uint8_t>((x + y) / 28 + noise);
        }
    }
}

const char* pictureName = "generated 4000x3000";

const image::DibImage& picture() {
    static image::LoadedImage loaded;
    if (!loaded.hasPixels()) {
        const char* corpus = std::getenv("VELMORA_BENCH_CORPUS");
        if (corpus != nullptr &&
            std::filesystem::exists(std::filesystem::path(corpus) / "photo-12mp.jpg")) {
            platform::setDeviceRoot(corpus);
            if (codecs::loadImage(loaded, u"\\photo-12mp.jpg")) {
                pictureName = "photo-12mp.jpg";
            }
        }
        if (!loaded.hasPixels()) {
            generatePicture(loaded);
        }
    }
    return loaded;
}

// Draws the whole picture into a surface of the benchmark's size, once per iteration.
template <class Draw> void scaleWholePicture(benchmark::State& state, Draw draw) {
    const image::DibImage& source = picture();
    const auto w = static_cast<int32_t>(state.range(0));
    const auto h = static_cast<int32_t>(state.range(1));
    image::DibImage surface;
    (void)surface.create(w, h); // the benchmark sizes always fit
    for (auto _ : state) {
        draw(surface, w, h, source);
        benchmark::DoNotOptimize(surface.bits());
    }
    state.SetItemsProcessed(state.iterations() * w * h);
    state.SetLabel(pictureName);
}

void BM_SmoothReduce(benchmark::State& state) {
    scaleWholePicture(
        state, [](image::DibImage& surface, int32_t w, int32_t h, const image::DibImage& source) {
            image::smoothScaleFrom(surface, {0, 0, w, h}, source,
                                   {0, 0, source.width(), source.height()});
        });
}

void BM_NearestStretch(benchmark::State& state) {
    scaleWholePicture(
        state, [](image::DibImage& surface, int32_t w, int32_t h, const image::DibImage& source) {
            surface.stretchFrom({0, 0, w, h}, source, {0, 0, source.width(), source.height()});
        });
}

void surfaceSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Unit(benchmark::kMillisecond)
        ->Args({1440, 1080})
        ->Args({1024, 768})
        ->Args({240, 320});
}
BENCHMARK(BM_SmoothReduce)->Apply(surfaceSizes);
BENCHMARK(BM_NearestStretch)->Apply(surfaceSizes);

} // namespace
