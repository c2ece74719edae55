// The save command writing the 12-megapixel photograph as JPEG at quality 99 ("高"), from the
// command's checks to the renamed file, over an existing file as a repeated save finds it.
// Compare, in the same run, with tjbench's compression of photo-12mp.ppm at quality 99 with
// 4:2:0 subsampling (the writer's) and the fast DCT.
#include "browse/navigator.h"
#include "fileops/file_commands.h"
#include "support/bench_corpus.h"
#include "ui/message_box.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace velmora;

class QuietHost : public browse::NavigationHost, public fileops::FileOpsHost {
  public:
    explicit QuietHost(settings::AppSettings& settings) : navigator_(*this, settings) {}

    browse::Navigator& navigator() override { return navigator_; }
    QWidget* dialogOwner() override { return nullptr; }
    bool isFullScreen() const override { return false; }
    bool isModified() const override { return false; }
    void enterFullScreen() override {}
    void updateNavButtons() override {}
    void setBusy(bool) override {}
    void clearModified() override {}
    void imageShown() override {}
    void viewCleared() override {}

  private:
    browse::Navigator navigator_;
};

// Agrees to every question (the overwrite of the previous iteration's file).
class AgreeingBoxes : public ui::MessageBoxSeam {
  public:
    AgreeingBoxes() { ui::setMessageBoxSeam(this); }
    ~AgreeingBoxes() override { ui::setMessageBoxSeam(nullptr); }
    int show(const ui::MessageRequest&) override { return ui::kButtonOk; }
};

void BM_SaveCommandJpegQuality99(benchmark::State& state) {
    const auto photo = bench::corpusPicture(state, "photo-12mp.jpg");
    if (photo.empty()) {
        return;
    }
    settings::AppSettings settings;
    settings.usePreload = false;
    QuietHost host(settings);
    host.navigator().appendToFolderList(photo, true);
    host.navigator().showCurrent();
    const auto folder = bench::scratchFolder();
    const fileops::SaveChoice choice{bench::deviceFor(folder), u"velmora-bench-save.jpg",
                                     fileops::SaveType::Jpeg, fileops::kQualityHigh};
    AgreeingBoxes boxes;
    fileops::FileCommands commands(
        host, settings, [] { return std::nullopt; },
        [&](const fileops::SaveProposal&) { return choice; });
    for (auto _ : state) {
        commands.save();
    }
    const auto written = folder / "velmora-bench-save.jpg";
    if (!std::filesystem::exists(written)) {
        state.SkipWithError("nothing saved");
    }
    std::filesystem::remove(written);
    state.SetItemsProcessed(state.iterations() * 4000 * 3000);
}
BENCHMARK(BM_SaveCommandJpegQuality99)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
