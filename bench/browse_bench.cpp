// The browsing dialogs' work: a page of 24 thumbnails made from the photos (cold: decoded and
// stored in the cache; warm: read back from it; uncached: decoded with the cache off), and the
// open dialog's listing of a folder of 10,000 pictures. Compare, in the same run, the cold page
// with decbench jpeg-fast-s8 on the same 24 files (in the scratch folder's
// velmora-thumbnail-page) and the listing with `ls -lU` of velmora-listing-10000 beside it.
#include "browse/open_listing.h"
#include "browse/thumbnail_cache.h"
#include "codecs/load_image.h"
#include "platform/device_fs.h"
#include "settings/app_settings.h"
#include "support/bench_corpus.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <random>
#include <vector>

namespace {

using namespace velmora;
namespace fs = std::filesystem;

constexpr int kPagePhotos = 24;
constexpr int kListedFiles = 10'000;

// The corpus's thumbnail photos copied to the scratch folder, so the cache is written there and
// never beside the shared corpus. Empty (and the benchmark skipped) without the corpus.
std::vector<std::u16string> pagePhotos(benchmark::State& state) {
    const fs::path folder = bench::scratchFolder() / "velmora-thumbnail-page";
    std::vector<std::u16string> paths;
    for (int i = 1; i <= kPagePhotos; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "thumbs/img%02d.jpg", i);
        if (bench::corpusPicture(state, name).empty()) {
            return {};
        }
        const fs::path copy = folder / fs::path(name).filename();
        fs::create_directories(folder);
        if (!fs::exists(copy)) {
            fs::copy_file(fs::path(std::getenv("VELMORA_BENCH_CORPUS")) / name, copy);
        }
        paths.push_back(bench::deviceFor(copy));
    }
    return paths;
}

void removeCache(const std::vector<std::u16string>& photos) {
    const fs::path host = platform::toHostPath(photos.front()).parent_path() / "VelThumbs";
    fs::remove_all(host);
}

bool makePage(const std::vector<std::u16string>& photos) {
    for (const auto& photo : photos) {
        image::DibImage thumbnail;
        if (!codecs::loadImageFitted(thumbnail, photo, 100, 120)) {
            return false;
        }
        benchmark::DoNotOptimize(thumbnail.bits());
    }
    return true;
}

void runPage(benchmark::State& state, bool useCache, bool warm) {
    const auto photos = pagePhotos(state);
    if (photos.empty()) {
        return;
    }
    const browse::ThumbnailCacheUse use(useCache);
    removeCache(photos);
    if (warm) {
        makePage(photos);
    }
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            removeCache(photos);
            state.ResumeTiming();
        }
        if (!makePage(photos)) {
            state.SkipWithError("thumbnail failed");
            break;
        }
    }
    removeCache(photos);
}

void BM_ThumbnailPageCold(benchmark::State& state) {
    runPage(state, true, false);
}
BENCHMARK(BM_ThumbnailPageCold)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ThumbnailPageWarm(benchmark::State& state) {
    runPage(state, true, true);
}
BENCHMARK(BM_ThumbnailPageWarm)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ThumbnailPageUncached(benchmark::State& state) {
    runPage(state, false, false);
}
BENCHMARK(BM_ThumbnailPageUncached)->Unit(benchmark::kMillisecond)->UseRealTime();

// A folder of 10,000 small pictures in shuffled name order, made once and kept for `ls -lU`.
fs::path listingFolder() {
    const fs::path folder = bench::scratchFolder() / "velmora-listing-10000";
    if (fs::exists(folder / "done")) {
        return folder;
    }
    fs::create_directories(folder);
    std::vector<int> order(kListedFiles);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(10'000));
    for (int number : order) {
        char name[32];
        std::snprintf(name, sizeof name, "photo%05d.jpg", number);
        std::ofstream(folder / name) << "x";
    }
    std::ofstream(folder / "done") << "";
    return folder;
}

void BM_OpenDialogListing10000(benchmark::State& state) {
    std::u16string folder = bench::deviceFor(listingFolder()) + u"\\";
    folder.erase(0, 1); // the dialog names folders relative to the root
    const settings::AppSettings settings;
    size_t rows = 0;
    for (auto _ : state) {
        rows = browse::listOpenFolder(folder, settings).size();
    }
    if (rows != kListedFiles + 1) {
        state.SkipWithError("unexpected row count");
    }
}
BENCHMARK(BM_OpenDialogListing10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
