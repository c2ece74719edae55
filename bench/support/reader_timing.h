// Timing a reader that decodes one coded file, the same way for every format.
#pragma once

#include "image/dib_image.h"
#include "support/bench_corpus.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace velmora::bench {

// Decodes file into image with reader at every iteration. Nothing is timed when file is empty
// (the benchmark is already marked skipped); a failed decode marks it skipped and ends it.
template <class Reader>
void timeReader(benchmark::State& state, const std::filesystem::path& file, image::DibImage& image,
                const Reader& reader) {
    if (file.empty()) {
        return;
    }
    const std::u16string path = deviceFor(file);
    for (auto _ : state) {
        if (!reader(image, path)) {
            state.SkipWithError("the picture did not load");
            return;
        }
        benchmark::DoNotOptimize(image.bits());
    }
}

} // namespace velmora::bench
