// JPEG reading and writing on a 12-megapixel photograph. Compare, in the same run, with the
// in-process anchor (decbench jpeg-fast[-sN]) and with tjbench for compression.
#include "codecs/load_image.h"
#include "codecs/readers.h"
#include "support/bench_corpus.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace velmora;

constexpr char kPhoto[] = "photo-12mp.jpg";

// The reader on an image that already has the picture's size, as when the same image is loaded
// again: no new mapping, only the reuse fill.
void BM_JpegLoadIntoExistingImage(benchmark::State& state) {
    const auto path = bench::corpusPicture(state, kPhoto);
    image::DibImage image;
    for (auto _ : state) {
        if (!codecs::loadJpeg(image, path)) {
            state.SkipWithError("decode failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * image.width() * image.height());
}
BENCHMARK(BM_JpegLoadIntoExistingImage)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole load as the viewer does it for a freshly dropped read-ahead image: a new image with
// its black fill, the decode, and giving the image back.
void BM_JpegLoadIntoNewImage(benchmark::State& state) {
    const auto path = bench::corpusPicture(state, kPhoto);
    for (auto _ : state) {
        image::LoadedImage image;
        if (!codecs::loadImage(image, path)) {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(image.bits());
    }
}
BENCHMARK(BM_JpegLoadIntoNewImage)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reduced decoding: the box is the picture divided by the argument, so that scale is chosen.
void BM_JpegLoadScaled(benchmark::State& state) {
    const auto path = bench::corpusPicture(state, kPhoto);
    const int denominator = static_cast<int>(state.range(0));
    image::DibImage image;
    for (auto _ : state) {
        if (!codecs::loadJpegScaled(image, path, 4000 / denominator, 3000 / denominator)) {
            state.SkipWithError("decode failed");
            break;
        }
    }
    if (image.width() != 4000 / denominator) {
        state.SkipWithError("the picture is not 4000 x 3000");
    }
}
BENCHMARK(BM_JpegLoadScaled)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JpegSaveQuality90(benchmark::State& state) {
    const auto path = bench::corpusPicture(state, kPhoto);
    image::DibImage image;
    if (path.empty() || !codecs::loadJpeg(image, path)) {
        state.SkipWithError("decode failed");
        return;
    }
    const auto target = bench::scratchFolder() / "velmora-bench-save.jpg";
    const auto device = bench::deviceFor(target);
    for (auto _ : state) {
        if (!codecs::saveJpeg(image, device, 90)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    std::filesystem::remove(target);
}
BENCHMARK(BM_JpegSaveQuality90)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
