// TIFF load of the strip TIFFs (2048 x 1536 RGB, 16 rows per strip, uncompressed and LZW) from
// the folder named by VELMORA_BENCH_CORPUS, as loadTiff reads them (bands of strips within its
// raster budget), one strip at a time, and with the whole raster at once. The image is reused
// between runs.
#include "codecs/readers.h"
#include "codecs/tiff/tiff_decoder.h"
#include "codecs/tiff/tiff_open.h"
#include "image/dib_image.h"
#include "platform/device_fs.h"
#include "support/bench_corpus.h"

#include <benchmark/benchmark.h>

namespace {

using namespace velmora;

const char* const kPictures[] = {"photo-3mp-strip.tif", "photo-3mp-strip-lzw.tif"};

void countPixels(benchmark::State& state, const image::DibImage& image) {
    state.counters["megapixels"] = benchmark::Counter(static_cast<double>(image.width()) *
                                                          image.height() / 1e6 * state.iterations(),
                                                      benchmark::Counter::kIsRate);
}

void loadStripTiff(benchmark::State& state) {
    const auto picture = bench::corpusPicture(state, kPictures[state.range(0)]);
    if (picture.empty()) {
        return;
    }
    image::DibImage image;
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
    const auto picture = bench::corpusPicture(state, kPictures[state.range(0)]);
    if (picture.empty()) {
        return;
    }
    image::DibImage image;
    for (auto _ : state) {
        const codecs::TiffHandle tiff = codecs::openTiffForReading(picture);
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
