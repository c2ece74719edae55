#include "codecs/corrections/row_conversion.h"

#include <algorithm>
#include <system_error>

namespace velmora::codecs {
namespace {

// Below this many pixels a thread costs more than it saves.
constexpr int64_t kPixelsForWorker = 500'000;
// Rows taken at a time: few enough that the two threads share the last ones evenly, many enough
// that handing them over costs nothing next to converting them.
constexpr int32_t kBandRows = 32;

} // namespace

RowConversion::RowConversion(const ColourTransform& transform, image::DibImage& image)
    : transform_(transform), image_(image) {
    if (int64_t{image.width()} * image.height() < kPixelsForWorker) {
        return;
    }
    try {
        worker_ = std::jthread([this](const std::stop_token& stop) { work(stop); });
    } catch (const std::system_error&) {
        // No thread to be had: finish() converts every row.
    }
}

void RowConversion::rowsDecoded(int32_t end) {
    {
        const std::lock_guard lock(mutex_);
        decodedRows_ = end;
    }
    decoded_.notify_one();
}

void RowConversion::finish() {
    rowsDecoded(image_.height());
    std::unique_lock lock(mutex_);
    while (convertBand(lock)) {
    }
    converted_.wait(lock, [this] { return convertedRows_ == image_.height(); });
}

bool RowConversion::convertBand(std::unique_lock<std::mutex>& lock) {
    const int32_t first = takenRows_;
    const int32_t end = std::min(decodedRows_, first + kBandRows);
    if (first >= end) {
        return false;
    }
    takenRows_ = end;
    lock.unlock();
    const auto width = static_cast<uint32_t>(image_.width());
    for (int32_t y = first; y < end; ++y) {
        transform_.convert(image_.row(y), image_.row(y), width);
    }
    lock.lock();
    convertedRows_ += end - first;
    if (convertedRows_ == image_.height()) {
        converted_.notify_all();
    }
    return true;
}

void RowConversion::work(const std::stop_token& stop) {
    std::unique_lock lock(mutex_);
    while (decoded_.wait(lock, stop, [this] { return takenRows_ < decodedRows_; })) {
        convertBand(lock);
    }
}

} // namespace velmora::codecs
