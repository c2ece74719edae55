#include "browse/preview_ahead.h"

namespace velmora::browse {

void PreviewAhead::decode(const PreviewLoader& preview, const std::u16string& path,
                          const image::ViewRequest& request) {
    corrections_ = codecs::pictureCorrections();
    try {
        if (!preview(*image_, path, request, whole_)) {
            return;
        }
    } catch (...) {
        return; // shown as without it: decoded when the picture is shown
    }
    request_ = request;
    ready_.store(true, std::memory_order_release);
}

bool PreviewAhead::has(std::u16string_view path, const image::ViewRequest& request) const {
    // The worker writes nothing more once ready is seen set. A reduction made for a view at
    // least as large as request's still covers it.
    return ready_.load(std::memory_order_acquire) && image_->path == path &&
           previewDenominator(whole_, request_) <= previewDenominator(whole_, request) &&
           corrections_ == codecs::pictureCorrections();
}

bool PreviewAhead::take(std::u16string_view path, const image::ViewRequest& request,
                        std::unique_ptr<image::LoadedImage>& image, image::ViewSize& whole) {
    if (!has(path, request)) {
        return false;
    }
    std::swap(image, image_);
    whole = whole_;
    forget();
    return true;
}

} // namespace velmora::browse
