// Desktop conventions beside the handheld's: the mouse wheel scrolls like the arrow keys, and
// Ctrl+wheel or a two-finger pinch zooms, one zoom step a notch.
#pragma once

#include "app/input/input_actions.h"
#include "settings/app_settings.h"

namespace velmora::app {

// Turns a continuous amount (a wheel's angle, a pinch's scale) into whole steps, keeping what
// is left over for the next amount, so that fine-grained wheels and touchpads act once a notch.
class StepCounter {
  public:
    explicit StepCounter(double stepSize) : stepSize_(stepSize) {}
    // The whole steps now due, signed like the amount.
    int add(double amount);
    void reset() { pending_ = 0; }

  private:
    double stepSize_;
    double pending_ = 0;
};

class DesktopGestures {
  public:
    // A wheel turn in eighths of a degree (120 a notch; dy > 0 away from the user, dx > 0 to the
    // left). zoom: Ctrl was held.
    void wheel(int dx, int dy, bool zoom, InputActions& actions,
               const settings::AppSettings& settings);
    // A pinch: scale is its total scale since it began (1 at the start).
    void pinchBegan();
    void pinch(double scale, InputActions& actions);

  private:
    StepCounter horizontal_{kNotch};
    StepCounter vertical_{kNotch};
    StepCounter pinch_{kPinchStep};
    double pinchScale_ = 1;

    static constexpr double kNotch = 120;
    // ln 1.25: spreading the fingers by a quarter is one zoom step.
    static constexpr double kPinchStep = 0.22314355131420976;
};

} // namespace velmora::app
