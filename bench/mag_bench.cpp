// MAG decoding speed: a 1600x1200 256-colour picture made from the corpus photo (or from
// generated shading when the corpus lacks it), and a 1600x2400 16-colour drawn page.
#include "codecs/gif/gif_decoder.h"
#include "codecs/mag/mag_decoder.h"

#include "../tests/codecs/mag_builder.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace velmora;
using Lines = std::vector<std::vector<uint8_t>>;

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// 1600x1200 colour indices: the corpus GIF's if there is one, else shading.
Lines photoIndices() {
    const char* corpus = std::getenv("VELMORA_BENCH_CORPUS");
    if (corpus != nullptr) {
        const auto gif = readBytes(std::filesystem::path(corpus) / "photo-2mp.gif");
        codecs::PackedBitmap canvas;
        if (!gif.empty() &&
            codecs::gif::gifDecode(gif, canvas, 1) == codecs::gif::LoadStatus::Decoded &&
            !canvas.empty() && canvas.data()[14] == 8) {
            Lines lines;
            for (int y = 0; y < canvas.height(); ++y) {
                const uint8_t* row =
                    canvas.data() + canvas.size() - (size_t(y) + 1) * canvas.rowBytes();
                lines.emplace_back(row, row + canvas.rowBytes() / 4 * 4);
            }
            return lines;
        }
    }
    Lines lines(1200, std::vector<uint8_t>(1600));
    for (int y = 0; y < 1200; ++y) {
        for (int x = 0; x < 1600; ++x) {
            lines[y][x] = static_cast<uint8_t>(128 + 100 * std::sin(x / 50.0 + y / 70.0));
        }
    }
    return lines;
}

std::string photoMag() {
    const Lines lines = photoIndices();
    test::MagFile mag;
    mag.colors256 = true;
    mag.right = static_cast<int>(lines[0].size()) - 1;
    mag.bottom = static_cast<int>(lines.size()) - 1;
    for (int i = 0; i < 256; ++i) {
        mag.palette.push_back(
            {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7)});
    }
    test::magEncode(mag, lines);
    return test::buildMag(mag);
}

void decode(benchmark::State& state, const std::string& file) {
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(file.data()),
                                         file.size());
    image::DibImage image;
    for (auto _ : state) {
        if (!codecs::mag::decodeMag(image, bytes)) {
            state.SkipWithError("decode failed");
            return;
        }
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(image.width()) *
                                                    image.height() * state.iterations() / 1e6,
                                                benchmark::Counter::kIsRate);
}

void photo256(benchmark::State& state) {
    static const std::string file = photoMag();
    decode(state, file);
}

void drawnPage16(benchmark::State& state) {
    const auto samples = std::filesystem::path(__FILE__).parent_path().parent_path() / "samples";
    const auto page = readBytes(samples / "page-1600x2400.mag");
    if (page.empty()) {
        state.SkipWithError("samples/page-1600x2400.mag missing");
        return;
    }
    decode(state, std::string(page.begin(), page.end()));
}

BENCHMARK(photo256)->Unit(benchmark::kMillisecond);
BENCHMARK(drawnPage16)->Unit(benchmark::kMillisecond);

} // namespace
