// Turning the 12-megapixel photograph a quarter right and saving it as JPEG. The lossless save
// turns the file's own data; compare it with jpegtran -rotate 90 on the same file, run
// alongside (ratio wanted: 1.1 or less), and with the path without it: decode, turn the pixels,
// encode at quality 99 ("高").
#include "codecs/load_image.h"
#include "edit/transform.h"
#include "image/loaded_image.h"
#include "platform/device_fs.h"
#include "support/bench_corpus.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace velmora;

constexpr int kQualityHigh = 99;

std::filesystem::path hostPathOf(const std::u16string& device) {
    return platform::toHostPath(device);
}

// The photograph read and turned a quarter right, as the viewer holds it before saving.
bool loadTurned(benchmark::State& state, image::LoadedImage& picture) {
    const auto photo = bench::corpusPicture(state, "photo-12mp.jpg");
    if (photo.empty()) {
        return false;
    }
    if (!codecs::loadImage(picture, photo) || !edit::rotateRight(picture)) {
        state.SkipWithError("cannot read and turn the photograph");
        return false;
    }
    picture.turnsSinceLoad = image::Turn{}.then(image::TurnStep::RotateRight);
    return true;
}

void BM_LosslessTurnSave(benchmark::State& state) {
    image::LoadedImage picture;
    if (!loadTurned(state, picture)) {
        return;
    }
    const auto target = bench::deviceFor(bench::scratchFolder() / "velmora-bench-turn.jpg");
    for (auto _ : state) {
        if (!codecs::saveLoadedPicture(picture, target, 0, kQualityHigh)) {
            state.SkipWithError("not saved");
        }
    }
    std::filesystem::remove(hostPathOf(target));
}
BENCHMARK(BM_LosslessTurnSave)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JpegtranRotate90(benchmark::State& state) {
    const auto photo = bench::corpusPicture(state, "photo-12mp.jpg");
    if (photo.empty()) {
        return;
    }
    const auto target = bench::scratchFolder() / "velmora-bench-jpegtran.jpg";
    const std::string command = "jpegtran -copy all -perfect -rotate 90 -outfile " +
                                target.string() + " " + hostPathOf(photo).string();
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("jpegtran failed");
        }
    }
    std::filesystem::remove(target);
}
BENCHMARK(BM_JpegtranRotate90)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole way without the lossless turn: decode, turn the pixels, encode.
void BM_DecodeTurnEncode(benchmark::State& state) {
    const auto photo = bench::corpusPicture(state, "photo-12mp.jpg");
    if (photo.empty()) {
        return;
    }
    const auto target = bench::deviceFor(bench::scratchFolder() / "velmora-bench-encode.jpg");
    for (auto _ : state) {
        image::LoadedImage picture;
        if (!codecs::loadImage(picture, photo) || !edit::rotateRight(picture) ||
            !codecs::saveLoadedPicture(picture, target, 0, kQualityHigh)) {
            state.SkipWithError("not saved");
        }
    }
    std::filesystem::remove(hostPathOf(target));
}
BENCHMARK(BM_DecodeTurnEncode)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same way with the lossless turn, for the user's whole wait from reading to saved.
void BM_DecodeTurnLosslessSave(benchmark::State& state) {
    const auto target = bench::deviceFor(bench::scratchFolder() / "velmora-bench-turn.jpg");
    for (auto _ : state) {
        image::LoadedImage picture;
        if (!loadTurned(state, picture) ||
            !codecs::saveLoadedPicture(picture, target, 0, kQualityHigh)) {
            state.SkipWithError("not saved");
            break;
        }
    }
    std::filesystem::remove(hostPathOf(target));
}
BENCHMARK(BM_DecodeTurnLosslessSave)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
