// HEIC decode of photo-12mp.jpg (4000 x 3000) coded by heif-enc at quality 80: the reader side
// by side with libheif used directly (the same threads, decoded to interleaved RGB and kept
// there). Both read the file into memory first. The reader's share on top is its copy into the
// image's blue, green, red rows.
#include "codecs/readers.h"
#include "image/dib_image.h"
#include "platform/device_fs.h"
#include "support/bench_corpus.h"
#include "support/reader_timing.h"

#include <benchmark/benchmark.h>
#include <libheif/heif.h>

namespace {

using namespace velmora;

std::filesystem::path heicPhoto(benchmark::State& state) {
    return bench::encodedCorpusPicture(state, "photo-12mp.jpg", "heif-enc -q 80 {in} -o {out}",
                                       "velmora-bench-12mp.heic");
}

void countPixels(benchmark::State& state, int64_t pixels) {
    state.counters["megapixels"] = benchmark::Counter(
        static_cast<double>(pixels) / 1e6 * state.iterations(), benchmark::Counter::kIsRate);
}

void loadHeicReader(benchmark::State& state) {
    image::DibImage image;
    bench::timeReader(state, heicPhoto(state), image,
                      [](image::DibImage& into, std::u16string_view path) {
                          return codecs::loadHeif(into, path);
                      });
    countPixels(state, int64_t{image.width()} * image.height());
}
BENCHMARK(loadHeicReader)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void loadHeicLibheif(benchmark::State& state) {
    const auto file = heicPhoto(state);
    if (file.empty()) {
        return;
    }
    const std::u16string path = bench::deviceFor(file);
    heif_init(nullptr);
    int64_t pixels = 0;
    for (auto _ : state) {
        const auto bytes = platform::readWholeFile(path);
        heif_context* context = heif_context_alloc();
        heif_context_set_max_decoding_threads(context, 4);
        heif_image_handle* handle = nullptr;
        heif_image* decoded = nullptr;
        const bool ok =
            bytes &&
            heif_context_read_from_memory_without_copy(context, bytes->data(), bytes->size(),
                                                       nullptr)
                    .code == heif_error_Ok &&
            heif_context_get_primary_image_handle(context, &handle).code == heif_error_Ok &&
            heif_decode_image(handle, &decoded, heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                              nullptr)
                    .code == heif_error_Ok;
        if (ok) {
            int stride = 0;
            benchmark::DoNotOptimize(
                heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride));
            pixels = int64_t{heif_image_get_primary_width(decoded)} *
                     heif_image_get_primary_height(decoded);
        }
        heif_image_release(decoded);
        heif_image_handle_release(handle);
        heif_context_free(context);
        if (!ok) {
            state.SkipWithError("libheif did not decode the picture");
            return;
        }
    }
    countPixels(state, pixels);
}
BENCHMARK(loadHeicLibheif)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace
