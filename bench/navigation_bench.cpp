// Time from the next-picture command to a composed 1024 x 768 surface for a 12-megapixel JPEG,
// with the read-ahead (and the view it composes) finished and without read-ahead, next to the
// plain decode time. The argument is the
// initial zoom mode (0 original size: unscaled copy; 3 fit whole: smooth reduction).
#include "browse/navigator.h"
#include "codecs/load_image.h"
#include "image/view_compose.h"
#include "image/view_geometry.h"
#include "settings/app_settings.h"
#include "support/bench_corpus.h"
#include "ui/message_box.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace velmora;

constexpr char kPicture[] = "photo-12mp.jpg";

constexpr int kSurfaceWidth = 1024;
constexpr int kSurfaceHeight = 768;

// Applies the initial zoom mode and composes the surface, as the window does after a load; a
// view composed ahead by the read-ahead is copied instead, as the window does.
class ComposingHost : public browse::NavigationHost {
  public:
    explicit ComposingHost(image::InitialZoom zoomMode) {
        options_.initialZoom = zoomMode;
        (void)surface_.create(kSurfaceWidth, kSurfaceHeight); // the benchmark sizes always fit
    }
    void attach(const browse::Navigator& navigator) { navigator_ = &navigator; }

    bool isFullScreen() const override { return false; }
    void enterFullScreen() override {}
    void updateNavButtons() override {}
    void setBusy(bool) override {}
    void clearModified() override {}
    void imageShown() override {
        applyInitialZoom();
        image::compose(surface_, navigator_->viewed(), state_, options_.smoothReduction,
                       options_.showAlpha);
    }
    void viewCleared() override {}
    image::ViewRequest viewRequest() const override {
        return {{kSurfaceWidth, kSurfaceHeight}, options_};
    }
    void imageShownComposed(const image::ComposedView& ahead) override {
        applyInitialZoom();
        if (!image::copyComposedView(surface_, state_, ahead)) {
            image::compose(surface_, navigator_->viewed(), state_, options_.smoothReduction,
                           options_.showAlpha);
        }
    }

  private:
    void applyInitialZoom() {
        const image::DibImage& shown = navigator_->viewed();
        image::ViewGeometry(state_, {shown.width(), shown.height()},
                            {kSurfaceWidth, kSurfaceHeight}, options_)
            .applyInitialZoom();
    }

    image::ViewOptions options_;
    image::ViewState state_;
    image::DibImage surface_;
    const browse::Navigator* navigator_ = nullptr;
};

// Shows the first of two entries of the same picture, so that the next command has a following
// entry to take from the read-ahead.
void prepare(browse::Navigator& navigator, const std::u16string& picture) {
    navigator.clearFolderList();
    navigator.appendToFolderList(picture, true);
    navigator.appendToFolderList(picture, false);
    navigator.showCurrent();
    navigator.stopLookAhead(); // waits until the read-ahead is ready
}

void runNext(benchmark::State& state, bool readAhead) {
    const auto picture = bench::corpusPicture(state, kPicture);
    if (picture.empty()) {
        return;
    }
    ComposingHost host(static_cast<image::InitialZoom>(state.range(0)));
    settings::AppSettings settings;
    settings.usePreload = readAhead;
    browse::Navigator navigator(host, settings);
    host.attach(navigator);
    for (auto _ : state) {
        state.PauseTiming();
        prepare(navigator, picture);

        state.ResumeTiming();
        navigator.showNext();
        state.PauseTiming();
        if (navigator.currentIndex() != 1 || !navigator.current().hasPixels()) {
            state.SkipWithError("the next picture was not shown");
        }
        state.ResumeTiming();
    }
}

void BM_NextWithReadAhead(benchmark::State& state) {
    runNext(state, true);
}

void BM_NextWithoutReadAhead(benchmark::State& state) {
    runNext(state, false);
}

void BM_DecodeOnly(benchmark::State& state) {
    const auto picture = bench::corpusPicture(state, kPicture);
    if (picture.empty()) {
        return;
    }
    image::LoadedImage image;
    for (auto _ : state) {
        if (!codecs::loadImage(image, picture)) {
            state.SkipWithError("decode failed");
        }
    }
}

BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_NextWithoutReadAhead)->Unit(benchmark::kMillisecond)->Iterations(8)->Arg(0)->Arg(3);
BENCHMARK(BM_NextWithReadAhead)->Unit(benchmark::kMillisecond)->Iterations(8)->Arg(0)->Arg(3);

} // namespace
