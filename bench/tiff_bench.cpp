// TIFF load of the strip TIFFs (2048 x 1536 RGB, 16 rows per strip, uncompressed and LZW) from
// the folder named by VELMORA_BENCH_CORPUS, as loadTiff reads them (bands of strips within its
// raster budget), one strip at a time, and with the whole raster at once. The image is reused
// between runs.
#include "codecs/readers.h"
#include "codecs/tiff/tiff_decoder.h"
#include "codecs/tiff/tiff_open.h"
#include "image/dib_image.h"
#include "platform/device_fs.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using namespace velmora;

const char16_t* const kPictures[] = {u"\\photo-3mp-strip.tif", u"\\photo-3mp-strip-lzw.tif"};

bool useCorpus(benchmark::State& state) {
    const char* corpus = std::getenv("VELMORA_BENCH_CORPUS");
    if (corpus == nullptr) {
        state.SkipWithError("VELMORA_BENCH_CORPUS is not set");
        return false;
    }
    platform::setDeviceRoot(corpus);
    return true;
}

void countPixels(benchmark::State& state, const image::DibImage& image) {
    state.counters["megapixels"] = benchmark::Counter(static_cast<double>(image.width()) *
                                                          image.height() / 1e6 * state.iterations(),
                                                      benchmark::Counter::kIsRate);
}

void loadStripTiff(benchmark::State& state) {
    if (!useCorpus(state)) {
        return;
    }
    const char16_t* picture = kPictures[state.range(0)];
    image::DibImage image;
    image.reportErrors = false;
    for (auto _ : state) {
        if (!codecs::loadTiff(image, picture)) {
            state.SkipWithError("the picture did not load");
            return;
        }
        benchmark::DoNotOptimize(image.bits());
    }
    countPixels(state, image);
}
BENCHMARK(loadStripTiff)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void decodeStripTiff(benchmark::State& state, uint64_t maxRasterBytes) {
    if (!useCorpus(state)) {
        return;
    }
    const auto path = platform::toHostPath(kPictures[state.range(0)]);
    image::DibImage image;
    image.reportErrors = false;
    for (auto _ : state) {
        const codecs::TiffHandle tiff = codecs::openTiffForReading(path);
        if (codecs::decodeTiff(tiff.get(), image, {.maxRasterBytes = maxRasterBytes}) !=
            codecs::TiffDecodeResult::Ok) {
            state.SkipWithError("the picture did not load");
            return;
        }
        benchmark::DoNotOptimize(image.bits());
    }
    countPixels(state, image);
}

void loadStripTiffOneStripAtATime(benchmark::State& state) {
    decodeStripTiff(state, 0);
}
BENCHMARK(loadStripTiffOneStripAtATime)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

void loadStripTiffWholeRaster(benchmark::State& state) {
    decodeStripTiff(state, UINT64_MAX);
}
BENCHMARK(loadStripTiffWholeRaster)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace
