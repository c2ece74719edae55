// AnimationPlayer: plays the shown picture's frames when it has more than one and the settings
// ask for it. The first frame is the picture the navigator showed; each later frame is decoded
// on a FrameWorker while the one before is shown, swapped into the navigator's current image at
// its time and drawn by the normal redraw, so zoom, fit, drag and seek act on it as on a still.
// Playing pauses (no timer, no decode) while the watched window is minimised or hidden and while
// a command holds it; it ends, keeping the frame shown, on stop(), on another picture, when a
// frame cannot be decoded and when the setting is turned off.
#pragma once

#include "browse/frame_worker.h"
#include "browse/navigator.h"
#include "settings/app_settings.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace velmora::browse::qt {

class AnimationPlayer : public QObject {
    Q_OBJECT
  public:
    // redraw: composes the view of the navigator's current image again and repaints it.
    AnimationPlayer(Navigator& navigator, const settings::AppSettings& settings,
                    std::function<void()> redraw);
    ~AnimationPlayer() override;

    // Pauses while window is minimised or hidden.
    void watch(QWidget& window);
    // The navigator shows a new picture: ends the playing of the one before and starts the new
    // one's when it may have frames to play.
    void pictureShown();
    // Ends playing and frees its frames; the frame shown stays.
    void stop();

    // Frames of the picture playing or played last; 0 for a still picture.
    [[nodiscard]] int frameCount() const { return frameCount_; }
    [[nodiscard]] bool isPlaying() const { return worker_ != nullptr; }
    // Frames shown since the picture was shown (the first not counted).
    [[nodiscard]] uint64_t framesShown() const { return framesShown_; }

    // Pauses playing while it lives (a command at work: its dialogs see the frame it started on).
    class Hold {
      public:
        explicit Hold(AnimationPlayer& player) : player_(player) { player_.setHeld(+1); }
        ~Hold() { player_.setHeld(-1); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

      private:
        AnimationPlayer& player_;
    };

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setHeld(int change);
    void updatePause();
    void armTimer(int ms);
    void onDecoded(uint64_t generation);
    void onDue();
    void showPending();

    Navigator& navigator_;
    const settings::AppSettings& settings_;
    std::function<void()> redraw_;
    QWidget* window_ = nullptr;
    QTimer timer_;
    QElapsedTimer sinceShown_;
    std::unique_ptr<FrameWorker> worker_;
    uint64_t generation_ = 0; // notices of an earlier worker are dropped
    std::u16string path_;
    int frameCount_ = 0;
    uint64_t framesShown_ = 0;
    bool firstDecoded_ = false; // the worker has given the first frame (shown already)
    bool pending_ = false;      // a decoded frame waits for its time
    int pendingDelayMs_ = 0;
    bool due_ = false; // the time has come, the frame is still being decoded
    int holds_ = 0;
    bool paused_ = false;
    int pausedRemainingMs_ = -1; // the timer's time left when it was paused; -1 for none
};

} // namespace velmora::browse::qt
