// The edits on the 12-megapixel photo of the corpus (photo-12mp.jpg), each next to a plain copy
// of the same picture, the yardstick the anchors (membw, vipsbench) are read against. In-place
// edits run on a working copy that is refreshed, untimed, before each pass.
#include "codecs/load_image.h"
#include "edit/filter.h"
#include "edit/tone.h"
#include "edit/transform.h"
#include "image/loaded_image.h"
#include "support/bench_corpus.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using namespace velmora;

const image::DibImage* photo(benchmark::State& state) {
    static image::LoadedImage loaded;
    if (!loaded.hasPixels()) {
        const auto path = bench::corpusPicture(state, "photo-12mp.jpg");
        if (path.empty() || !codecs::loadImage(loaded, path)) {
            return nullptr;
        }
    }
    return &loaded;
}

void copyPixels(image::DibImage& into, const image::DibImage& from) {
    if (into.width() != from.width() || into.height() != from.height()) {
        (void)into.create(from.width(), from.height()); // the benchmark sizes always fit
    }
    std::memcpy(into.bits(), from.bits(), static_cast<size_t>(from.stride()) * from.height());
}

template <typename Edit> void runEdit(benchmark::State& state, Edit edit) {
    const image::DibImage* source = photo(state);
    if (source == nullptr) {
        return;
    }
    image::DibImage work;
    for (auto _ : state) {
        state.PauseTiming();
        copyPixels(work, *source);
        state.ResumeTiming();
        edit(work);
        benchmark::DoNotOptimize(work.bits());
    }
    state.counters["megapixels"] = benchmark::Counter(
        static_cast<double>(source->width()) * source->height() / 1e6 * state.iterations(),
        benchmark::Counter::kIsRate);
}

void copyPicture(benchmark::State& state) {
    runEdit(state, [source = photo(state)](image::DibImage& work) { copyPixels(work, *source); });
}

#define EDIT_BENCHMARK(name, call)                                                                 \
    void name(benchmark::State& state) {                                                           \
        runEdit(state, [](image::DibImage& work) { call; });                                       \
    }                                                                                              \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->MinTime(1.0)

BENCHMARK(copyPicture)->Unit(benchmark::kMillisecond)->MinTime(1.0);
EDIT_BENCHMARK(brightness, edit::brightness(work, 128));
EDIT_BENCHMARK(contrast, edit::contrast(work, 150));
EDIT_BENCHMARK(negative, edit::negative(work));
EDIT_BENCHMARK(threshold, edit::threshold(work, 128));
EDIT_BENCHMARK(grey, edit::grey(work));
EDIT_BENCHMARK(blur, edit::blur(work));
EDIT_BENCHMARK(sharpen, edit::sharpen(work));
EDIT_BENCHMARK(emboss, edit::emboss(work));
EDIT_BENCHMARK(rotateRight, static_cast<void>(edit::rotateRight(work)));
EDIT_BENCHMARK(flipVertical, edit::flipVertical(work));
EDIT_BENCHMARK(flipHorizontal, edit::flipHorizontal(work));
EDIT_BENCHMARK(resizeHalf,
               static_cast<void>(edit::resize(work, work.width() / 2, work.height() / 2)));

} // namespace
