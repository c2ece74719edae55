// PNG load and save of photo-3mp.png (2048 x 1536 RGB) from the folder named by
// VELMORA_BENCH_CORPUS. The image is reused between runs, as a viewer paging through pictures
// of one size does.
#include "codecs/readers.h"
#include "image/dib_image.h"
#include "support/bench_corpus.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace velmora;

constexpr char kPicture[] = "photo-3mp.png";

void loadPhotoPng(benchmark::State& state) {
    const auto picture = bench::corpusPicture(state, kPicture);
    if (picture.empty()) {
        return;
    }
    image::DibImage image;
    for (auto _ : state) {
        if (!codecs::loadPng(image, picture)) {
            state.SkipWithError("the picture did not load");
            return;
        }
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["megapixels"] = benchmark::Counter(static_cast<double>(image.width()) *
                                                          image.height() / 1e6 * state.iterations(),
                                                      benchmark::Counter::kIsRate);
}
BENCHMARK(loadPhotoPng)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void savePhotoPng(benchmark::State& state) {
    const auto picture = bench::corpusPicture(state, kPicture);
    if (picture.empty()) {
        return;
    }
    image::DibImage image;
    if (!codecs::loadPng(image, picture)) {
        state.SkipWithError("the picture did not load");
        return;
    }
    const auto out = bench::scratchFolder() / "velmora-png-bench.png";
    const std::u16string target = bench::deviceFor(out);
    for (auto _ : state) {
        if (!codecs::savePng(image, target)) {
            state.SkipWithError("the picture was not saved");
            break;
        }
    }
    std::filesystem::remove(out);
}
BENCHMARK(savePhotoPng)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace
