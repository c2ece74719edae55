// What turning pictures upright and converting embedded profiles cost on the 12-megapixel
// photograph. The same file is read with the corrections off (the plain decode), on without
// anything to do (the ratio of these two must stay within 2 %), with a Display P3 profile and
// with an EXIF orientation of 6. Run with --benchmark_enable_random_interleaving=true and
// repetitions so that the four are measured side by side.
#include "codecs/corrections/picture_corrections.h"
#include "codecs/picture_notes.h"
#include "codecs/readers.h"
#include "support/bench_corpus.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

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

void BM_JpegLoadCorrected(benchmark::State& state) {
    const auto variant = static_cast<Variant>(state.range(0));
    const std::u16string path = pictureFor(state, variant);
    if (path.empty()) {
        return;
    }
    const bool on = variant != Variant::Off;
    codecs::setPictureCorrections({on, on});
    image::DibImage image;
    for (auto _ : state) {
        if (!codecs::loadJpeg(image, path)) {
            state.SkipWithError("decode failed");
            break;
        }
    }
    codecs::setPictureCorrections({});
    state.SetLabel(variant == Variant::Off           ? "off"
                   : variant == Variant::NothingToDo ? "on, nothing to do"
                   : variant == Variant::DisplayP3   ? "Display P3 profile"
                                                     : "EXIF orientation 6");
}
BENCHMARK(BM_JpegLoadCorrected)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
