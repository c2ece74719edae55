// Converts a blue, green, red picture through a colour transform while it is still being
// decoded: the reader reports how many rows are final, a worker thread converts them band by
// band as they come, and once the last row is decoded the reader's thread shares what is left.
// Conversion then ends shortly after decoding instead of taking as long again.
#pragma once

#include "codecs/corrections/colour_profile.h"
#include "image/dib_image.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace velmora::codecs {

class RowConversion {
  public:
    // Small pictures get no worker: they are converted by the reader's thread in finish().
    RowConversion(const ColourTransform& transform, image::DibImage& image);
    // Stops the worker; rows not converted by then stay as decoded.
    ~RowConversion() = default;
    RowConversion(const RowConversion&) = delete;
    RowConversion& operator=(const RowConversion&) = delete;

    // Rows 0 .. end - 1 are decoded and no longer written.
    void rowsDecoded(int32_t end);
    // Every row is decoded: converts the rest with the worker and returns when all are done.
    void finish();

  private:
    // Takes the next band of decoded rows, converts it with the lock released and counts it;
    // false when no decoded row is waiting.
    bool convertBand(std::unique_lock<std::mutex>& lock);
    void work(const std::stop_token& stop);

    const ColourTransform& transform_;
    image::DibImage& image_;
    std::mutex mutex_;
    std::condition_variable_any decoded_;
    std::condition_variable converted_;
    int32_t decodedRows_ = 0;
    int32_t takenRows_ = 0;
    int32_t convertedRows_ = 0;
    // Last: started when everything above is ready, stopped and joined before it goes.
    std::jthread worker_;
};

} // namespace velmora::codecs
