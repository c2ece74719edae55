// Playing animated GIFs. playFrames decodes every frame of a 300-frame 1000x1000 GIF one at a
// time as the viewer's worker does, each swapped into the shown picture, and reports the peak
// resident memory it adds above the still picture in frames' worth (3 bytes a pixel; the limit
// is 3). frameAtTenFps decodes and composes each frame of a 1600x1200 GIF fit to a 1024x768
// view and reports the share of one core that takes at 10 frames a second (the limit is 10%).
// The GIFs are generated into the scratch folder once per run.
#include "browse/frame_playback.h"
#include "codecs/frame_source.h"
#include "codecs/load_image.h"
#include "image/view_compose.h"
#include "platform/device_fs.h"

#include "../tests/codecs/gif_builder.h"
#include "support/bench_corpus.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <fstream>
#include <sstream>

namespace {

using namespace velmora;

// Frames of bars that move a few pixels each frame: much like a screen recording, and quick
// to encode.
std::filesystem::path movingBars(const std::string& name, int width, int height, int frames,
                                 int delay) {
    const auto path = bench::scratchFolder() / name;
    if (std::filesystem::exists(path)) {
        return path;
    }
    test::GifBuilder gif;
    gif.screen(width, height, test::gifTestPalette(16)).application(0);
    test::GifFrame frame{0, 0, width, height, false, {}, {}};
    frame.indices.resize(size_t{1} * width * height);
    for (int i = 0; i < frames; ++i) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                frame.indices[size_t{1} * y * width + x] =
                    static_cast<uint8_t>(((x + 7 * i) / 40 + y / 100) % 16);
            }
        }
        gif.graphicControl(0, delay, -1).frame(frame);
    }
    std::ofstream(path, std::ios::binary) << gif.trailer().bytes();
    return path;
}

// A /proc/self/status value in kB.
long statusKb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::stol(line.substr(std::string(key).size()));
        }
    }
    return -1;
}

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Starts the peak resident size (VmHWM) again from the present size.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void playFrames(benchmark::State& state) {
    const auto path = movingBars("anim-300x1000.gif", 1000, 1000, 300, 2);
    const std::u16string device = bench::deviceFor(path);
    for (auto _ : state) {
        image::LoadedImage shown;
        resetPeak();
        if (!codecs::loadImage(shown, device)) {
            state.SkipWithError("still load failed");
            return;
        }
        const long still = statusKb("VmRSS:");
        resetPeak();
        auto source = codecs::openFrameSource(device);
        if (!source) {
            state.SkipWithError("no frames");
            return;
        }
        browse::FramePlayback playback(std::move(source));
        image::DibImage frame;
        int played = 0;
        for (; played < 300 && playback.next(frame); ++played) {
            shown.swapPixels(frame);
        }
        const double frameKb = 1000.0 * 1000 * 3 / 1024;
        state.counters["frames"] = played;
        state.counters["peakAboveStill_frames"] = (statusKb("VmHWM:") - still) / frameKb;
        state.counters["ms/frame"] = benchmark::Counter(
            played, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    }
}

void frameAtTenFps(benchmark::State& state) {
    const auto path = movingBars("anim-10fps.gif", 1600, 1200, 20, 10);
    auto source = codecs::openFrameSource(bench::deviceFor(path));
    if (!source) {
        state.SkipWithError("no frames");
        return;
    }
    browse::FramePlayback playback(std::move(source));
    image::DibImage frame;
    image::ComposedView view;
    const image::ViewRequest request{{1024, 768}, {}};
    const double cpuBefore = processCpuSeconds();
    for (auto _ : state) {
        if (!playback.next(frame) || !image::composeInitialView(view, frame, request)) {
            state.SkipWithError("frame failed");
            return;
        }
        benchmark::DoNotOptimize(view.surface.bits());
    }
    const double cpuPerFrame = (processCpuSeconds() - cpuBefore) / state.iterations();
    state.counters["coreShareAt10fps_%"] = cpuPerFrame * 10 * 100;
}

BENCHMARK(playFrames)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(frameAtTenFps)->Unit(benchmark::kMillisecond);

} // namespace
