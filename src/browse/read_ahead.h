// ReadAhead: one picture decoded on a worker thread into an image of its own, and, when the
// worker is handed a surface, the view of that picture composed as showing it would compose it.
// The navigator reads the following picture ahead with one; start-up reads the first picture
// with one while the window system starts, and the navigator adopts it.
//
// Threads: every member function runs on the interface thread. The worker is handed, when it
// starts, the image and the composed view it fills, its finished flag and copies of the path, the
// request and the notice; it touches nothing else. It sets the image's ready flag, then the
// finished flag (release order), then calls the notice. The interface thread reads the image's
// path and the composed view only after it has seen ready set (acquire order), and waits for the
// worker before it reuses or releases either. The image, the view and the flag live on the heap,
// so a ReadAhead may be moved while its worker runs. A worker no longer wanted is asked to stop
// (abandon): a JPEG decode then ends between rows.
#pragma once

#include "codecs/corrections/picture_corrections.h"
#include "codecs/load_result.h"
#include "image/loaded_image.h"
#include "image/view_compose.h"

#include <atomic>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>

namespace velmora::browse {

// Decodes path into image, ending early (Stopped) when the stop is asked for; runs on the
// interface thread and on the worker, so it must keep its state per call. The program uses
// loadWithCodecs.
using ImageLoader =
    std::function<codecs::LoadResult(image::LoadedImage&, std::u16string_view, std::stop_token)>;

// codecs::loadImage as an ImageLoader.
codecs::LoadResult loadWithCodecs(image::LoadedImage& image, std::u16string_view path,
                                  std::stop_token stop);

// loader on a worker behind the interface: on a busy processor the interface thread and the
// display server run first.
ImageLoader behindInterface(const ImageLoader& loader);

class ReadAhead {
  public:
    ReadAhead();
    ~ReadAhead();                                     // abandons a running worker
    ReadAhead(ReadAhead&& other) noexcept;            // other keeps nothing: destroy or assign it
    ReadAhead& operator=(ReadAhead&& other) noexcept; // waits for its own worker first
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Waits for a running worker and starts one that decodes path and, when request names a
    // surface, composes the view for it; the worker calls finished, when given, as its last act,
    // whatever came of it. False when no thread could be had (the picture is then simply loaded
    // when it is shown).
    [[nodiscard]] bool start(const ImageLoader& loader, std::u16string path,
                             const image::ViewRequest& request,
                             std::function<void()> finished = {});
    // The surface or the view settings changed. When the picture is decoded and its view was
    // composed for something else, starts a worker that composes it again for request (the
    // start-up picture, decoded before there was a window, gets its view this way). Nothing while
    // the decode is still running: its view is then composed when it is shown.
    void recompose(const image::ViewRequest& request);
    // Waits for the worker, if any, to end.
    void wait();
    // Asks the worker, if any, to stop, and waits for it.
    void abandon();
    // A worker was started for path and has not been waited for: it may still be decoding it.
    [[nodiscard]] bool isReading(std::u16string_view path) const;
    // That worker has done all it will do (waiting for it is at once).
    [[nodiscard]] bool hasFinished(std::u16string_view path) const;
    // The image holds the complete picture of path, read with the corrections now in effect.
    [[nodiscard]] bool readyFor(std::u16string_view path) const;
    // readyFor, or the picture is decoded and only its view is still being composed.
    [[nodiscard]] bool hasDecoded(std::u16string_view path) const;

    // After readyFor: swaps the decoded picture into image, taking image's storage (forgotten,
    // its pixels kept for the next read) in exchange. Returns the view composed ahead when it
    // was composed for request, else nullptr; it stays valid until the next start or release.
    const image::ComposedView* handOver(std::unique_ptr<image::LoadedImage>& image,
                                        const image::ViewRequest& request);

    // Abandons the worker, frees the composed surface and leaves the pixels to the spare store.
    void release();

    // Only while no worker runs (after wait).
    const image::LoadedImage& image() const { return *image_; }

  private:
    void forget();

    std::unique_ptr<image::LoadedImage> image_;
    std::unique_ptr<image::ComposedView> composed_;
    std::unique_ptr<std::atomic<bool>> finished_;
    std::u16string workerPath_;  // what the running worker was handed; interface thread only
    bool composingOnly_ = false; // that worker only composes a decoded picture's view
    codecs::PictureCorrections corrections_; // in effect when the worker was started
    std::jthread worker_;
};

} // namespace velmora::browse
