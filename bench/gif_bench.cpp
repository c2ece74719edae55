// GIF decoding speed on 1600x1200 pictures: 256-colour photos, plain and interlaced (the corpus's
// photo-2mp.gif and photo-2mp-interlaced.gif), and one flat colour with a 2-colour table, whose
// LZW strings run to a thousand bytes and more (flat-2mp.gif). Each is generated as a stand-in
// when the corpus lacks it.
#include "codecs/gif/gif_decoder.h"
#include "codecs/readers.h"
#include "platform/device_fs.h"

#include "../tests/codecs/gif_builder.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace {

using namespace velmora;

std::filesystem::path corpusFolder() {
    const char* folder = std::getenv("VELMORA_BENCH_CORPUS");
    return folder != nullptr ? folder : "";
}

constexpr int kWidth = 1600, kHeight = 1200;

// A photo-like picture: smooth shading with dithering noise, 256 colours.
std::string photoGif(bool interlaced) {
    std::mt19937 random(1);
    test::GifFrame frame;
    frame.width = kWidth;
    frame.height = kHeight;
    frame.interlaced = interlaced;
    frame.indices.resize(size_t{kWidth} * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double shade = 96 + 80 * std::sin(x / 97.0) * std::cos(y / 131.0) + x / 40.0;
            frame.indices[size_t(y) * kWidth + x] =
                static_cast<uint8_t>(std::clamp(shade + random() % 9, 0.0, 255.0));
        }
    }
    return test::GifBuilder()
        .screen(kWidth, kHeight, test::gifTestPalette(256))
        .frame(frame)
        .trailer()
        .bytes();
}

std::string plainPhotoGif() {
    return photoGif(false);
}

std::string interlacedPhotoGif() {
    return photoGif(true);
}

// One colour over the whole screen, as a drawing program saves a blank page.
std::string flatGif() {
    test::GifFrame frame;
    frame.width = kWidth;
    frame.height = kHeight;
    frame.indices.assign(size_t{kWidth} * kHeight, 0);
    return test::GifBuilder()
        .screen(kWidth, kHeight, {{0xC8, 0x28, 0xA0}, {0, 0, 0}})
        .frame(frame)
        .trailer()
        .bytes();
}

using Generator = std::string (*)();

// The corpus file, or a generated stand-in written to a temporary folder.
std::filesystem::path benchFile(const char* name, Generator generate) {
    const auto corpus = corpusFolder() / name;
    if (!corpusFolder().empty() && std::filesystem::exists(corpus)) {
        return corpus;
    }
    const auto generated = std::filesystem::temp_directory_path() / (std::string("gen-") + name);
    if (!std::filesystem::exists(generated)) {
        std::ofstream(generated, std::ios::binary) << generate();
    }
    return generated;
}

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void reportPixels(benchmark::State& state, const image::DibImage& image) {
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(image.width()) *
                                                    image.height() * state.iterations() / 1e6,
                                                benchmark::Counter::kIsRate);
}

// From the bytes in memory to the finished 24-bit image.
void decodeFromMemory(benchmark::State& state, const char* name, Generator generate) {
    const auto bytes = readBytes(benchFile(name, generate));
    image::DibImage image;
    for (auto _ : state) {
        if (!codecs::gif::decodeGif(image, bytes)) {
            state.SkipWithError("decode failed");
            return;
        }
        benchmark::DoNotOptimize(image.bits());
    }
    reportPixels(state, image);
}

// The reader as the viewer runs it: read the file, scan, decode, convert.
void loadFromFile(benchmark::State& state, const char* name, Generator generate) {
    const auto path = benchFile(name, generate);
    platform::setDeviceRoot(path.parent_path());
    const std::u16string devicePath = u"\\" + path.filename().u16string();
    image::DibImage image;
    for (auto _ : state) {
        if (!codecs::loadGif(image, devicePath)) {
            state.SkipWithError("load failed");
            return;
        }
        benchmark::DoNotOptimize(image.bits());
    }
    reportPixels(state, image);
}

BENCHMARK_CAPTURE(decodeFromMemory, plain, "photo-2mp.gif", plainPhotoGif)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decodeFromMemory, interlaced, "photo-2mp-interlaced.gif", interlacedPhotoGif)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decodeFromMemory, flat, "flat-2mp.gif", flatGif)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadFromFile, plain, "photo-2mp.gif", plainPhotoGif)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadFromFile, interlaced, "photo-2mp-interlaced.gif", interlacedPhotoGif)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadFromFile, flat, "flat-2mp.gif", flatGif)->Unit(benchmark::kMillisecond);

} // namespace
