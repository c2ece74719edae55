// Time to the first view of a big JPEG on a 1024 x 726 surface at fit whole: decoding the whole
// picture and composing its view, against a reduced decode composed at the same geometry. The
// 48-megapixel picture is the corpus photograph doubled each way, written once at quality 90.
#include "browse/picture_preview.h"
#include "codecs/load_image.h"
#include "codecs/readers.h"
#include "image/view_compose.h"
#include "image/view_geometry.h"
#include "support/bench_corpus.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace velmora;

constexpr char kPhoto[] = "photo-12mp.jpg";

image::ViewRequest fitRequest() {
    image::ViewOptions options;
    options.initialZoom = image::InitialZoom::FitWhole;
    return {{1024, 726}, options};
}

// The corpus photograph (argument 12) or its doubled copy (48); empty, skipped, without it.
std::u16string pictureFor(benchmark::State& state) {
    const std::u16string photo = bench::corpusPicture(state, kPhoto);
    if (photo.empty() || state.range(0) == 12) {
        return photo;
    }
    const auto doubled = bench::scratchFolder() / "velmora-bench-48mp.jpg";
    if (!std::filesystem::exists(doubled)) {
        image::DibImage small;
        image::DibImage large;
        if (!codecs::loadJpeg(small, photo) ||
            !large.create(2 * small.width(), 2 * small.height())) {
            return {};
        }
        large.stretchFrom({0, 0, large.width(), large.height()}, small,
                          {0, 0, small.width(), small.height()});
        if (!codecs::saveJpeg(large, bench::deviceFor(doubled), 90)) {
            return {};
        }
    }
    return bench::deviceFor(doubled);
}

void BM_FirstViewWhole(benchmark::State& state) {
    const std::u16string path = pictureFor(state);
    image::ComposedView view;
    for (auto _ : state) {
        image::LoadedImage picture;
        if (path.empty() || !codecs::loadImage(picture, path) ||
            !image::composeInitialView(view, picture, fitRequest())) {
            state.SkipWithError("load failed");
            break;
        }
    }
}
BENCHMARK(BM_FirstViewWhole)->Arg(12)->Arg(48)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FirstViewReduced(benchmark::State& state) {
    const std::u16string path = pictureFor(state);
    const image::ViewRequest request = fitRequest();
    image::DibImage surface;
    if (!surface.create(request.surface.width, request.surface.height)) {
        state.SkipWithError("no surface");
        return;
    }
    for (auto _ : state) {
        image::LoadedImage preview;
        image::ViewSize whole;
        if (path.empty() || !browse::loadPreview(preview, path, request, whole)) {
            state.SkipWithError("no reduced decode");
            break;
        }
        image::ViewState shown;
        image::ViewGeometry(shown, whole, request.surface, request.options).applyInitialZoom();
        image::compose(surface, preview, shown, request.options.smoothReduction,
                       request.options.showAlpha);
    }
}
BENCHMARK(BM_FirstViewReduced)->Arg(12)->Arg(48)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
