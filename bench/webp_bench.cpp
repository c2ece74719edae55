// WebP decode of a 12-megapixel photo (photo-12mp.jpg of VELMORA_BENCH_CORPUS, made into a lossy
// WebP by cwebp once per run), by the viewer's reader and, side by side, by the library's API
// used directly: the file read into memory and decoded into a preallocated BGR buffer.
#include "codecs/readers.h"
#include "image/dib_image.h"
#include "support/bench_corpus.h"
#include "support/reader_timing.h"

#include <benchmark/benchmark.h>
#include <webp/decode.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

using namespace velmora;

std::filesystem::path photo(benchmark::State& state) {
    return bench::encodedCorpusPicture(state, "photo-12mp.jpg", "cwebp -q 80 {in} -o {out}",
                                       "velmora-bench-photo-12mp.webp");
}

void webpByReader(benchmark::State& state) {
    image::DibImage image;
    bench::timeReader(state, photo(state), image,
                      [](image::DibImage& into, std::u16string_view path) {
                          return codecs::loadWebp(into, path);
                      });
}
BENCHMARK(webpByReader)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void webpByLibrary(benchmark::State& state) {
    const auto file = photo(state);
    if (file.empty()) {
        return;
    }
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        int width = 0;
        int height = 0;
        WebPGetInfo(bytes.data(), bytes.size(), &width, &height);
        const int stride = (3 * width + 3) & ~3;
        pixels.resize(static_cast<size_t>(stride) * height);
        if (WebPDecodeBGRInto(bytes.data(), bytes.size(), pixels.data(), pixels.size(), stride) ==
            nullptr) {
            state.SkipWithError("the library did not decode the picture");
            return;
        }
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(webpByLibrary)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
