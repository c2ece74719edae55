// Stylus dragging: the picture follows the pen, recomposed fast at most five times a second
// while moving and in full quality when the pen is lifted.
#pragma once

#include <cstdint>
#include <functional>

namespace velmora::app {

// The view the drag moves.
class DragTarget {
  public:
    virtual ~DragTarget() = default;
    virtual int surfaceWidth() const = 0;
    virtual int surfaceHeight() const = 0;
    [[nodiscard]] virtual bool imageWiderThanSurface() const = 0;
    [[nodiscard]] virtual bool imageTallerThanSurface() const = 0;
    virtual void shiftOrigin(int dx, int dy) = 0;
    // Clamps the origin, then recomposes: fast while moving, full quality when final.
    virtual void recompose(bool final) = 0;
};

class StylusDrag {
  public:
    static constexpr uint32_t kStepIntervalMs = 200;

    explicit StylusDrag(std::function<uint32_t()> tickCount) : tickCount_(std::move(tickCount)) {}

    // Points are client coordinates; negative ones count as far outside, as on the device.
    void penDown(int x, int y);
    void penMove(int x, int y, DragTarget& target);
    void penUp(int x, int y, DragTarget& target);
    [[nodiscard]] bool isDown() const { return penDown_; }

  private:
    void step(int x, int y, bool final, DragTarget& target);

    std::function<uint32_t()> tickCount_;
    bool penDown_ = false;
    int lastX_ = 0;
    int lastY_ = 0;
    uint32_t lastTick_ = 0;
};

} // namespace velmora::app
