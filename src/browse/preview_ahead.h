// A reduced first view made on a worker before it is wanted: the next picture's, by the worker
// that reads the shown picture whole, before it starts on that (a key pressed meanwhile finds the
// view ready instead of decoding it on the interface thread); and the start-up picture's, while
// the window is being made.
#pragma once

#include "browse/picture_preview.h"
#include "codecs/corrections/picture_corrections.h"
#include "image/loaded_image.h"
#include "image/view_compose.h"

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

namespace velmora::browse {

class PreviewAhead {
  public:
    // On the interface thread, while no worker runs a decode of this store: forgets its view.
    void forget() { ready_.store(false, std::memory_order_relaxed); }
    // On the worker: decodes path's reduced view for request with preview (nothing when path has
    // none). Its last write is the ready flag.
    void decode(const PreviewLoader& preview, const std::u16string& path,
                const image::ViewRequest& request);
    // On the interface thread: path's reduced view, read with the corrections now in effect, is
    // ready and covers request's view.
    [[nodiscard]] bool has(std::u16string_view path, const image::ViewRequest& request) const;
    // On the interface thread: when has(path, request), swaps the view into image (whose storage
    // is kept for the next decode), sets whole to the whole picture's size and returns true.
    bool take(std::u16string_view path, const image::ViewRequest& request,
              std::unique_ptr<image::LoadedImage>& image, image::ViewSize& whole);

  private:
    std::unique_ptr<image::LoadedImage> image_ = std::make_unique<image::LoadedImage>();
    image::ViewSize whole_;
    image::ViewRequest request_;
    codecs::PictureCorrections corrections_; // in effect for the decode
    std::atomic<bool> ready_{false};
};

} // namespace velmora::browse
