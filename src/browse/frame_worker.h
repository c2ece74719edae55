// FrameWorker: the thread an animation's frames are decoded on, one frame for each request.
// It opens the picture's frames first, then decodes the first frame at once; every later frame
// waits for request(). After each decode it calls the notice (on the worker) and waits.
//
// Threads: the notice may only post. The interface thread reads result() and the frame after
// the notice and before its next request(); the worker touches them only between a request and
// its notice.
#pragma once

#include "browse/frame_playback.h"
#include "image/dib_image.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace velmora::browse {

class FrameWorker {
  public:
    struct Result {
        int frameCount = 0;         // 0 when the picture has no frames to play
        std::optional<int> delayMs; // nothing once playing has ended
    };

    // False from started() when no thread could be had.
    FrameWorker(std::u16string path, std::function<void()> decoded);
    ~FrameWorker(); // stops the thread after the frame it may be decoding
    FrameWorker(const FrameWorker&) = delete;
    FrameWorker& operator=(const FrameWorker&) = delete;

    [[nodiscard]] bool started() const { return thread_.joinable(); }
    void request();
    Result result() const;
    image::DibImage& frame() { return frame_; }

  private:
    void run(std::stop_token stop, const std::u16string& path);

    std::function<void()> decoded_;
    mutable std::mutex mutex_;
    std::condition_variable_any wake_;
    bool wanted_ = true;
    Result result_;
    image::DibImage frame_;
    std::optional<FramePlayback> playback_; // the worker's only
    std::jthread thread_;
};

} // namespace velmora::browse
