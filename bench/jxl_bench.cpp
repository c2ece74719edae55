// JPEG XL decode of photo-12mp.jpg (4000 x 3000) coded by cjxl at distance 1 from its pixels:
// the reader side by side with libjxl used directly (the same threads, 8-bit RGB into a buffer
// kept between runs). Both read the file into memory first. The reader's share on top is its
// turn of red, green, blue into the image's blue, green, red.
#include "codecs/readers.h"
#include "image/dib_image.h"
#include "platform/device_fs.h"
#include "support/bench_corpus.h"
#include "support/reader_timing.h"

#include <benchmark/benchmark.h>
#include <jxl/decode.h>
#include <jxl/resizable_parallel_runner.h>

#include <algorithm>
#include <vector>

namespace {

using namespace velmora;

std::filesystem::path jxlPhoto(benchmark::State& state) {
    return bench::encodedCorpusPicture(state, "photo-12mp.jpg",
                                       "cjxl {in} {out} --lossless_jpeg=0 -d 1",
                                       "velmora-bench-12mp.jxl");
}

void countPixels(benchmark::State& state, int64_t pixels) {
    state.counters["megapixels"] = benchmark::Counter(
        static_cast<double>(pixels) / 1e6 * state.iterations(), benchmark::Counter::kIsRate);
}

void loadJxlReader(benchmark::State& state) {
    image::DibImage image;
    bench::timeReader(state, jxlPhoto(state), image,
                      [](image::DibImage& into, std::u16string_view path) {
                          return codecs::loadJxl(into, path);
                      });
    countPixels(state, int64_t{image.width()} * image.height());
}
BENCHMARK(loadJxlReader)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// One decode straight through the library; false when it failed.
bool decodeDirectly(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& pixels,
                    JxlBasicInfo& info) {
    JxlDecoder* decoder = JxlDecoderCreate(nullptr);
    void* runner = JxlResizableParallelRunnerCreate(nullptr);
    JxlDecoderSubscribeEvents(decoder, JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE);
    JxlDecoderSetParallelRunner(decoder, JxlResizableParallelRunner, runner);
    JxlDecoderSetInput(decoder, bytes.data(), bytes.size());
    JxlDecoderCloseInput(decoder);
    const JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    bool ok = false;
    for (bool going = true; going;) {
        switch (JxlDecoderProcessInput(decoder)) {
        case JXL_DEC_BASIC_INFO:
            JxlDecoderGetBasicInfo(decoder, &info);
            JxlResizableParallelRunnerSetThreads(
                runner, std::min<size_t>(
                            4, JxlResizableParallelRunnerSuggestThreads(info.xsize, info.ysize)));
            break;
        case JXL_DEC_NEED_IMAGE_OUT_BUFFER: {
            size_t size = 0;
            JxlDecoderImageOutBufferSize(decoder, &format, &size);
            pixels.resize(size);
            JxlDecoderSetImageOutBuffer(decoder, &format, pixels.data(), size);
            break;
        }
        case JXL_DEC_FULL_IMAGE:
            ok = true;
            going = false;
            break;
        default:
            going = false;
            break;
        }
    }
    JxlResizableParallelRunnerDestroy(runner);
    JxlDecoderDestroy(decoder);
    return ok;
}

void loadJxlLibjxl(benchmark::State& state) {
    const auto file = jxlPhoto(state);
    if (file.empty()) {
        return;
    }
    const std::u16string path = bench::deviceFor(file);
    std::vector<uint8_t> pixels;
    JxlBasicInfo info{};
    for (auto _ : state) {
        const auto bytes = platform::readWholeFile(path);
        if (!bytes || !decodeDirectly(*bytes, pixels, info)) {
            state.SkipWithError("libjxl did not decode the picture");
            return;
        }
        benchmark::DoNotOptimize(pixels.data());
    }
    countPixels(state, int64_t{info.xsize} * info.ysize);
}
BENCHMARK(loadJxlLibjxl)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace
