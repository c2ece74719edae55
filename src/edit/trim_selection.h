// The rectangle the user drags over the trim preview. The picture is shown reduced to fit the
// preview area (a small one at 1:1, never enlarged); stylus points inside it, bounds included,
// map to picture pixels by integer division. A move counts only from 100 ms after the stylus went
// down, so a tap never selects anything.
#pragma once

#include "edit/transform.h"

#include <cstdint>

namespace velmora::edit {

struct PreviewPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const PreviewPoint&) const = default;
};

class TrimSelection {
  public:
    static constexpr uint32_t kMoveDelayMs = 100;

    TrimSelection(int32_t imageWidth, int32_t imageHeight)
        : imageWidth_(imageWidth), imageHeight_(imageHeight) {}

    // Sizes the shown picture for a preview area; points are relative to the area's top left.
    void fitInto(int32_t areaWidth, int32_t areaHeight);
    int32_t previewWidth() const { return previewWidth_; }
    int32_t previewHeight() const { return previewHeight_; }

    // Each returns true when the outline changed and needs painting.
    [[nodiscard]] bool press(PreviewPoint point, uint32_t tick);
    [[nodiscard]] bool move(PreviewPoint point, uint32_t tick);
    [[nodiscard]] bool release(PreviewPoint point);

    // The outline's corners in preview coordinates.
    PreviewPoint downPoint() const { return down_; }
    PreviewPoint currentPoint() const { return current_; }
    // In picture pixels, normalised: left and top the smaller ends.
    TrimRect rect() const;

  private:
    [[nodiscard]] bool inside(PreviewPoint point) const;
    PreviewPoint toImage(PreviewPoint point) const;

    int32_t imageWidth_;
    int32_t imageHeight_;
    int32_t previewWidth_ = 0;
    int32_t previewHeight_ = 0;
    bool dragging_ = false;
    uint32_t downTick_ = 0;
    PreviewPoint down_, current_, start_, end_;
};

} // namespace velmora::edit
