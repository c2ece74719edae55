// BMP reading of 3-megapixel pictures, 24-bit and 8-bit, and of a 12-megapixel 24-bit one
// (photo-12mp-24.bmp: `convert photo-12mp.ppm BMP3:photo-12mp-24.bmp` in the corpus folder).
// Compare, in the same run, with the in-process anchor (decbench bmp-raw).
#include "codecs/readers.h"
#include "support/bench_corpus.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace velmora;

void loadRepeatedly(benchmark::State& state, const std::string& name) {
    const auto path = bench::corpusPicture(state, name);
    image::DibImage image;
    for (auto _ : state) {
        if (!codecs::loadBmp(image, path)) {
            state.SkipWithError("decode failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * image.width() * image.height());
}

void BM_BmpLoad24(benchmark::State& state) {
    loadRepeatedly(state, "photo-3mp-24.bmp");
}
BENCHMARK(BM_BmpLoad24)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BmpLoad24At12Mp(benchmark::State& state) {
    loadRepeatedly(state, "photo-12mp-24.bmp");
}
BENCHMARK(BM_BmpLoad24At12Mp)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BmpLoad8(benchmark::State& state) {
    loadRepeatedly(state, "photo-3mp-8.bmp");
}
BENCHMARK(BM_BmpLoad8)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BmpSave24(benchmark::State& state) {
    const auto path = bench::corpusPicture(state, "photo-3mp-24.bmp");
    image::DibImage image;
    if (path.empty() || !codecs::loadBmp(image, path)) {
        state.SkipWithError("decode failed");
        return;
    }
    const auto target = bench::scratchFolder() / "velmora-bench-save.bmp";
    const auto device = bench::deviceFor(target);
    for (auto _ : state) {
        if (!codecs::saveBmp(image, device)) {
            state.SkipWithError("save failed");
            break;
        }
    }
    std::filesystem::remove(target);
}
BENCHMARK(BM_BmpSave24)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
