// What turning pictures upright and converting embedded profiles cost on the 12-megapixel
// photograph. Each iteration reads the same file in turn with the corrections off (the plain
// decode), on without anything to do (must stay within 2 % of off), with a Display P3 profile
// (within 25 %) and with an EXIF orientation of 6, so the four meet the same load on a shared
// machine. The counters are the medians of each, in wall and process CPU milliseconds, and
// their ratios to the plain decode.
#include "codecs/corrections/picture_corrections.h"
#include "codecs/picture_notes.h"
#include "codecs/readers.h"
#include "support/bench_corpus.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace velmora;

constexpr char kPhoto[] = "photo-12mp.jpg";

enum class Variant { Off, NothingToDo, DisplayP3, TurnedRight };

// The photograph with the variant's notes, written once to the scratch folder.
std::u16string pictureFor(benchmark::State& state, Variant variant) {
    const std::u16string original = bench::corpusPicture(state, kPhoto);
    if (original.empty() || variant == Variant::Off || variant == Variant::NothingToDo) {
        return original;
    }
    const std::filesystem::path source =
        std::filesystem::path(std::getenv("VELMORA_BENCH_CORPUS")) / kPhoto;
    std::ifstream in(source, std::ios::binary);
    const std::string jpeg{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const bool p3 = variant == Variant::DisplayP3;
    const auto target =
        bench::scratchFolder() / (p3 ? "velmora-bench-p3.jpg" : "velmora-bench-turned.jpg");
    std::ofstream(target, std::ios::binary)
        << (p3 ? test::withSegment(jpeg, 0xE2, test::iccApp2(test::displayP3Profile()))
               : test::withSegment(jpeg, 0xE1, test::exifApp1(test::exifTiff(6))));
    return bench::deviceFor(target);
}

constexpr Variant kVariants[] = {Variant::Off, Variant::NothingToDo, Variant::DisplayP3,
                                 Variant::TurnedRight};
constexpr const char* kNames[] = {"off", "nothing", "p3", "turned"};

double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::ranges::nth_element(values, values.begin() + values.size() / 2);
    return values[values.size() / 2];
}

void BM_JpegCorrectionsSideBySide(benchmark::State& state) {
    std::vector<std::u16string> paths;
    for (const Variant variant : kVariants) {
        paths.push_back(pictureFor(state, variant));
        if (paths.back().empty()) {
            return;
        }
    }
    std::vector<double> wall[4];
    std::vector<double> cpu[4];
    image::DibImage image;
    for (auto _ : state) {
        for (size_t i = 0; i < 4; ++i) {
            const bool on = kVariants[i] != Variant::Off;
            codecs::setPictureCorrections({on, on});
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = processCpuMs();
            if (!codecs::loadJpeg(image, paths[i])) {
                state.SkipWithError("decode failed");
                return;
            }
            cpu[i].push_back(processCpuMs() - cpuStart);
            wall[i].push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
        }
    }
    codecs::setPictureCorrections({});
    for (size_t i = 0; i < 4; ++i) {
        const std::string name = kNames[i];
        state.counters[name + "_ms"] = median(wall[i]);
        state.counters[name + "_cpu_ms"] = median(cpu[i]);
        state.counters[name + "/off"] = median(wall[i]) / median(wall[0]);
        state.counters[name + "/off_cpu"] = median(cpu[i]) / median(cpu[0]);
    }
}
BENCHMARK(BM_JpegCorrectionsSideBySide)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
