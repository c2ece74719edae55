#include "image/spare_pixels.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <mutex>
#include <utility>

namespace velmora::image {
namespace {

// Smaller buffers come from the allocator's own free lists, already touched.
constexpr size_t kWorthKeeping = size_t{4} << 20;

// The worker and the interface thread both allocate pictures: every access holds the lock.
// Buffers given up are freed after it is released, since unmapping takes a while.
class SpareStore {
  public:
    void keep(DibImage& image) {
        if (image.capacity() < kWorthKeeping) {
            image.release();
            return;
        }
        auto kept = std::make_unique<DibImage>();
        kept->swapPixels(image);
        kept->dropAlpha();
        std::deque<std::unique_ptr<DibImage>> victims;
        std::lock_guard lock(mutex_);
        const size_t cap = std::max(kSparePixelCap, 2 * kept->capacity());
        bytes_ += kept->capacity();
        buffers_.push_back(std::move(kept));
        while (bytes_ > cap) {
            bytes_ -= buffers_.front()->capacity();
            victims.push_back(std::move(buffers_.front()));
            buffers_.pop_front();
        }
    }

    bool take(DibImage& image, size_t bytes) {
        if (bytes < kWorthKeeping) {
            return false;
        }
        std::unique_ptr<DibImage> found;
        {
            std::lock_guard lock(mutex_);
            const auto fits = [bytes](const std::unique_ptr<DibImage>& kept) {
                return kept->capacity() >= bytes && kept->capacity() - bytes <= bytes / 2;
            };
            const auto it = std::find_if(buffers_.begin(), buffers_.end(), fits);
            if (it == buffers_.end()) {
                return false;
            }
            bytes_ -= (*it)->capacity();
            found = std::move(*it);
            buffers_.erase(it);
        }
        image.swapPixels(*found);
        return true;
    }

    void drop() {
        std::deque<std::unique_ptr<DibImage>> victims;
        std::lock_guard lock(mutex_);
        victims.swap(buffers_);
        bytes_ = 0;
    }

    size_t bytes() {
        std::lock_guard lock(mutex_);
        return bytes_;
    }

  private:
    std::mutex mutex_;
    std::deque<std::unique_ptr<DibImage>> buffers_; // oldest first
    size_t bytes_ = 0;
};

SpareStore& store() {
    static SpareStore instance;
    return instance;
}

} // namespace

void keepSparePixels(DibImage& image) {
    store().keep(image);
}

bool takeSparePixels(DibImage& image, size_t bytes) {
    return store().take(image, bytes);
}

void dropSparePixels() {
    store().drop();
}

size_t sparePixelBytes() {
    return store().bytes();
}

} // namespace velmora::image
