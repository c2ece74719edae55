#include "browse/qt/animation_player.h"

#include "codecs/image_format.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace velmora::browse::qt {
namespace {

bool mayHaveFrames(std::u16string_view path) {
    const codecs::ImageFormat format = codecs::formatFromExtension(path);
    return format == codecs::ImageFormat::Gif || format == codecs::ImageFormat::Webp ||
           format == codecs::ImageFormat::Avif;
}

} // namespace

AnimationPlayer::AnimationPlayer(Navigator& navigator, const settings::AppSettings& settings,
                                 std::function<void()> redraw)
    : navigator_(navigator), settings_(settings), redraw_(std::move(redraw)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &AnimationPlayer::onDue);
}

AnimationPlayer::~AnimationPlayer() {
    stop();
}

void AnimationPlayer::watch(QWidget& window) {
    window_ = &window;
    window.installEventFilter(this);
    updatePause();
}

void AnimationPlayer::pictureShown() {
    stop();
    frameCount_ = 0;
    framesShown_ = 0;
    path_ = navigator_.currentPath();
    if (!settings_.animate || navigator_.showsReduced() || !mayHaveFrames(path_)) {
        return;
    }
    const uint64_t generation = generation_;
    worker_ = std::make_unique<FrameWorker>(path_, [this, generation] {
        QMetaObject::invokeMethod(
            this, [this, generation] { onDecoded(generation); }, Qt::QueuedConnection);
    });
    if (!worker_->started()) {
        worker_.reset();
        return;
    }
    sinceShown_.start();
}

void AnimationPlayer::stop() {
    ++generation_;
    worker_.reset();
    timer_.stop();
    firstDecoded_ = false;
    pending_ = false;
    due_ = false;
    pausedRemainingMs_ = -1;
}

bool AnimationPlayer::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
        updatePause();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void AnimationPlayer::setHeld(int change) {
    holds_ += change;
    updatePause();
}

void AnimationPlayer::updatePause() {
    const bool shown = window_ == nullptr || (window_->isVisible() && !window_->isMinimized());
    const bool pause = holds_ > 0 || !shown;
    if (pause == paused_) {
        return;
    }
    paused_ = pause;
    if (paused_) {
        if (timer_.isActive()) {
            pausedRemainingMs_ = timer_.remainingTime();
            timer_.stop();
        }
        return;
    }
    if (pausedRemainingMs_ >= 0) {
        timer_.start(pausedRemainingMs_);
        pausedRemainingMs_ = -1;
    } else if (due_ && pending_) {
        showPending();
    }
}

void AnimationPlayer::armTimer(int ms) {
    if (paused_) {
        pausedRemainingMs_ = ms;
    } else {
        timer_.start(ms);
    }
}

void AnimationPlayer::onDecoded(uint64_t generation) {
    if (generation != generation_ || !worker_) {
        return;
    }
    const FrameWorker::Result result = worker_->result();
    frameCount_ = result.frameCount;
    if (!result.delayMs) { // a still picture, the last play's end, or a broken frame
        stop();
        return;
    }
    if (!firstDecoded_) {
        // The first frame is on the screen since the picture was shown: it stays its delay.
        firstDecoded_ = true;
        const auto elapsed = static_cast<int>(sinceShown_.elapsed());
        armTimer(std::max(0, *result.delayMs - elapsed));
        worker_->request();
        return;
    }
    pending_ = true;
    pendingDelayMs_ = *result.delayMs;
    if (due_ && !paused_) {
        showPending();
    }
}

void AnimationPlayer::onDue() {
    due_ = true;
    if (pending_) {
        showPending();
    }
}

void AnimationPlayer::showPending() {
    due_ = false;
    pending_ = false;
    image::DibImage& frame = worker_->frame();
    if (!settings_.animate || navigator_.showsReduced() || navigator_.currentPath() != path_) {
        stop();
        return;
    }
    image::LoadedImage& shown = navigator_.current();
    if (shown.width() != frame.width() || shown.height() != frame.height()) {
        stop();
        return;
    }
    shown.swapPixels(frame);
    ++framesShown_;
    redraw_();
    armTimer(pendingDelayMs_);
    worker_->request();
}

} // namespace velmora::browse::qt
