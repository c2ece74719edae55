// PNG load and save of photo-3mp.png (2048 x 1536 RGB) from the folder named by
// VELMORA_BENCH_CORPUS. The image is reused between runs, as a viewer paging through pictures
// of one size does.
#include "codecs/readers.h"
#include "image/dib_image.h"
#include "platform/device_fs.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

using namespace velmora;

constexpr char16_t kPicture[] = u"\\photo-3mp.png";

bool useCorpus(benchmark::State& state) {
    const char* corpus = std::getenv("VELMORA_BENCH_CORPUS");
    if (corpus == nullptr) {
        state.SkipWithError("VELMORA_BENCH_CORPUS is not set");
        return false;
    }
    platform::setDeviceRoot(corpus);
    return true;
}

void loadPhotoPng(benchmark::State& state) {
    if (!useCorpus(state)) {
        return;
    }
    image::DibImage image;
    image.reportErrors = false;
    for (auto _ : state) {
        if (!codecs::loadPng(image, kPicture)) {
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
    if (!useCorpus(state)) {
        return;
    }
    image::DibImage image;
    image.reportErrors = false;
    if (!codecs::loadPng(image, kPicture)) {
        state.SkipWithError("the picture did not load");
        return;
    }
    const auto out = std::filesystem::temp_directory_path() / "velmora-png-bench.png";
    platform::setDeviceRoot(out.parent_path());
    const std::u16string target = u"\\velmora-png-bench.png";
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
