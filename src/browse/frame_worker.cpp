#include "browse/frame_worker.h"

#include "platform/background_thread.h"

#include <system_error>

namespace velmora::browse {

FrameWorker::FrameWorker(std::u16string path, std::function<void()> decoded)
    : decoded_(std::move(decoded)) {
    try {
        thread_ =
            std::jthread([this, path = std::move(path)](std::stop_token stop) { run(stop, path); });
    } catch (const std::system_error&) {
        // started() tells the caller
    }
}

FrameWorker::~FrameWorker() {
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
}

void FrameWorker::request() {
    {
        const std::lock_guard lock(mutex_);
        wanted_ = true;
    }
    wake_.notify_one();
}

FrameWorker::Result FrameWorker::result() const {
    const std::lock_guard lock(mutex_);
    return result_;
}

void FrameWorker::run(std::stop_token stop, const std::u16string& path) {
    // Frames are decoded well ahead of their time: behind the interface, as the read-ahead.
    platform::runBehindInterface();
    if (auto source = codecs::openFrameSource(path)) {
        playback_.emplace(std::move(source));
    }
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait(lock, stop, [this] { return wanted_; })) {
                return;
            }
            wanted_ = false;
        }
        Result result;
        if (playback_) {
            result.frameCount = playback_->frameCount();
            result.delayMs = playback_->next(frame_);
        }
        {
            const std::lock_guard lock(mutex_);
            result_ = result;
        }
        decoded_();
    }
}

} // namespace velmora::browse
