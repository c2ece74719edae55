// AVIF decode of a 12-megapixel photo (photo-12mp.jpg of VELMORA_BENCH_CORPUS, made into an
// 8-bit 4:2:0 AVIF by avifenc once per run), by the viewer's reader and, side by side, by the
// library's API used directly: the file read into memory, decoded and converted into a
// preallocated BGR buffer.
#include "codecs/readers.h"
#include "image/dib_image.h"
#include "support/bench_corpus.h"
#include "support/reader_timing.h"

#include <avif/avif.h>
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace {

using namespace velmora;

std::filesystem::path photo(benchmark::State& state) {
    return bench::encodedCorpusPicture(state, "photo-12mp.jpg",
                                       "avifenc -s 8 --min 20 --max 30 {in} {out}",
                                       "velmora-bench-photo-12mp.avif");
}

void avifByReader(benchmark::State& state) {
    image::DibImage image;
    bench::timeReader(state, photo(state), image,
                      [](image::DibImage& into, std::u16string_view path) {
                          return codecs::loadAvif(into, path);
                      });
}
BENCHMARK(avifByReader)->Unit(benchmark::kMillisecond)->MinTime(2.0);

struct DecoderDeleter {
    void operator()(avifDecoder* decoder) const { avifDecoderDestroy(decoder); }
};

void avifByLibrary(benchmark::State& state) {
    const auto file = photo(state);
    if (file.empty()) {
        return;
    }
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        const std::unique_ptr<avifDecoder, DecoderDeleter> decoder(avifDecoderCreate());
        if (avifDecoderSetIOMemory(decoder.get(), bytes.data(), bytes.size()) != AVIF_RESULT_OK ||
            avifDecoderParse(decoder.get()) != AVIF_RESULT_OK ||
            avifDecoderNextImage(decoder.get()) != AVIF_RESULT_OK) {
            state.SkipWithError("the library did not decode the picture");
            return;
        }
        avifRGBImage rgb;
        avifRGBImageSetDefaults(&rgb, decoder->image);
        rgb.depth = 8;
        rgb.format = AVIF_RGB_FORMAT_BGR;
        rgb.rowBytes = (3 * rgb.width + 3) & ~3u;
        pixels.resize(size_t{rgb.rowBytes} * rgb.height);
        rgb.pixels = pixels.data();
        if (avifImageYUVToRGB(decoder->image, &rgb) != AVIF_RESULT_OK) {
            state.SkipWithError("the library did not convert the picture");
            return;
        }
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(avifByLibrary)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
