#include "browse/read_ahead.h"

#include "codecs/corrections/picture_corrections.h"
#include "codecs/load_image.h"
#include "image/spare_pixels.h"
#include "platform/background_thread.h"

#include <system_error>
#include <utility>

namespace velmora::browse {
namespace {

// The worker's body. It owns nothing but what it was handed; finished is its last write.
void readAhead(std::stop_token stop, image::LoadedImage& image, image::ComposedView& composed,
               std::atomic<bool>& finished, const ImageLoader& loader, const std::u16string& path,
               const image::ViewRequest& request, const std::function<void()>& notice) {
    try {
        if (loader(image, path, stop) && !stop.stop_requested()) {
            // A view that cannot be composed (no surface to be had) is left empty: the picture
            // is still handed over, and its view composed when it is shown.
            (void)image::composeInitialView(composed, image, request);
            image.ready.store(true, std::memory_order_release);
        } else {
            // A decode stopped part way has touched only some pages of a fresh buffer; the
            // next read would have to fault in the rest at once before its first row, where no
            // stop is seen. Unmapped, the next read gets pages as its rows reach them.
            image.release();
        }
    } catch (...) {
        // A failed read-ahead shows nothing: the picture is loaded when shown, and that load
        // speaks.
    }
    finished.store(true, std::memory_order_release);
    if (notice) {
        notice();
    }
}

// The body of a worker that only composes the view of a decoded picture; it sets ready again,
// then finished, as its last writes.
void composeAhead(image::LoadedImage& image, image::ComposedView& composed,
                  std::atomic<bool>& finished, const image::ViewRequest& request) {
    try {
        (void)image::composeInitialView(composed, image, request); // as in readAhead
    } catch (...) {
        composed.request = {};
    }
    image.ready.store(true, std::memory_order_release);
    finished.store(true, std::memory_order_release);
}

} // namespace

codecs::LoadResult loadWithCodecs(image::LoadedImage& image, std::u16string_view path,
                                  std::stop_token stop) {
    return codecs::loadImage(image, path, stop);
}

ImageLoader behindInterface(const ImageLoader& loader) {
    return [loader](image::LoadedImage& image, std::u16string_view path, std::stop_token stop) {
        platform::runBehindInterface();
        return loader(image, path, stop);
    };
}

ReadAhead::ReadAhead()
    : image_(std::make_unique<image::LoadedImage>()),
      composed_(std::make_unique<image::ComposedView>()),
      finished_(std::make_unique<std::atomic<bool>>(false)) {}

ReadAhead::~ReadAhead() {
    abandon();
}

// Takes other's storage and worker without allocating: other may then only be destroyed or
// assigned to.
ReadAhead::ReadAhead(ReadAhead&& other) noexcept
    : image_(std::move(other.image_)), composed_(std::move(other.composed_)),
      finished_(std::move(other.finished_)), workerPath_(std::exchange(other.workerPath_, {})),
      composingOnly_(std::exchange(other.composingOnly_, false)), corrections_(other.corrections_),
      worker_(std::move(other.worker_)) {}

ReadAhead& ReadAhead::operator=(ReadAhead&& other) noexcept {
    if (this != &other) {
        wait();
        std::swap(image_, other.image_);
        std::swap(composed_, other.composed_);
        std::swap(finished_, other.finished_);
        workerPath_ = std::exchange(other.workerPath_, {});
        composingOnly_ = std::exchange(other.composingOnly_, false);
        corrections_ = other.corrections_;
        worker_ = std::move(other.worker_);
    }
    return *this;
}

bool ReadAhead::start(const ImageLoader& loader, std::u16string path,
                      const image::ViewRequest& request, std::function<void()> finished) {
    wait();
    // Emptied here, before the worker exists, so that a stale ready flag or composed view can
    // never be seen while the new worker writes them.
    forget();
    composed_->request = {};
    finished_->store(false, std::memory_order_relaxed);
    corrections_ = codecs::pictureCorrections();
    try {
        worker_ = std::jthread(readAhead, std::ref(*image_), std::ref(*composed_),
                               std::ref(*finished_), loader, path, request, std::move(finished));
    } catch (const std::system_error&) {
        return false;
    }
    workerPath_ = std::move(path);
    return true;
}

void ReadAhead::recompose(const image::ViewRequest& request) {
    // Ready seen set means the decoding worker has written its last: waiting for it is at once.
    if (!image_->ready.load(std::memory_order_acquire) || request.surface.width < 1 ||
        request.surface.height < 1 || composed_->request == request) {
        return;
    }
    wait();
    image_->ready.store(false, std::memory_order_relaxed);
    finished_->store(false, std::memory_order_relaxed);
    try {
        worker_ = std::jthread(composeAhead, std::ref(*image_), std::ref(*composed_),
                               std::ref(*finished_), request);
    } catch (const std::system_error&) {
        image_->ready.store(true, std::memory_order_relaxed);
        return;
    }
    workerPath_ = image_->path;
    composingOnly_ = true;
}

void ReadAhead::wait() {
    if (worker_.joinable()) {
        worker_.join();
    }
    workerPath_.clear();
    composingOnly_ = false;
}

void ReadAhead::abandon() {
    worker_.request_stop();
    wait();
}

bool ReadAhead::isReading(std::u16string_view path) const {
    return worker_.joinable() && workerPath_ == path;
}

bool ReadAhead::hasFinished(std::u16string_view path) const {
    return isReading(path) && finished_->load(std::memory_order_acquire);
}

bool ReadAhead::readyFor(std::u16string_view path) const {
    // The path may be read only once ready is seen set: until then the worker may be writing it.
    // A picture read before the orientation or colour choice changed is read again.
    return image_->ready.load(std::memory_order_acquire) && image_->path == path &&
           corrections_ == codecs::pictureCorrections();
}

bool ReadAhead::hasDecoded(std::u16string_view path) const {
    return readyFor(path) ||
           (composingOnly_ && isReading(path) && corrections_ == codecs::pictureCorrections());
}

const image::ComposedView* ReadAhead::handOver(std::unique_ptr<image::LoadedImage>& image,
                                               const image::ViewRequest& request) {
    std::swap(image, image_);
    forget();
    const bool composedForRequest = request.surface.width > 0 && composed_->request == request;
    return composedForRequest ? composed_.get() : nullptr;
}

void ReadAhead::release() {
    abandon();
    forget();
    image::keepSparePixels(*image_);
    composed_->request = {};
    composed_->surface.release();
}

// The image stands for no picture. Its pixels stay for the next read to reuse: unmapping a
// large picture on the interface thread would cost milliseconds per step.
void ReadAhead::forget() {
    image_->ready.store(false, std::memory_order_relaxed);
    image_->path.clear();
}

} // namespace velmora::browse
