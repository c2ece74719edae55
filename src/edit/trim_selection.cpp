#include "edit/trim_selection.h"

#include <algorithm>
#include <cstdlib>

namespace velmora::edit {

void TrimSelection::fitInto(int32_t areaWidth, int32_t areaHeight) {
    previewWidth_ = imageWidth_;
    previewHeight_ = imageHeight_;
    if (imageWidth_ <= 0 || imageHeight_ <= 0) {
        return;
    }
    if (areaWidth < imageWidth_ || areaHeight < imageHeight_) {
        previewWidth_ = areaWidth;
        previewHeight_ = static_cast<int32_t>(int64_t{areaWidth} * imageHeight_ / imageWidth_);
        if (areaHeight < previewHeight_) {
            previewHeight_ = areaHeight;
            previewWidth_ = static_cast<int32_t>(int64_t{areaHeight} * imageWidth_ / imageHeight_);
        }
    }
}

bool TrimSelection::inside(PreviewPoint p) const {
    return p.x >= 0 && p.x <= previewWidth_ && p.y >= 0 && p.y <= previewHeight_;
}

PreviewPoint TrimSelection::toImage(PreviewPoint p) const {
    if (previewWidth_ <= 0 || previewHeight_ <= 0) {
        return {};
    }
    return {static_cast<int32_t>(int64_t{p.x} * imageWidth_ / previewWidth_),
            static_cast<int32_t>(int64_t{p.y} * imageHeight_ / previewHeight_)};
}

bool TrimSelection::press(PreviewPoint point, uint32_t tick) {
    if (!inside(point)) {
        return false;
    }
    down_ = current_ = point;
    start_ = end_ = toImage(point);
    dragging_ = true;
    downTick_ = tick;
    return true;
}

bool TrimSelection::move(PreviewPoint point, uint32_t tick) {
    if (!dragging_ || tick - downTick_ < kMoveDelayMs || !inside(point)) {
        return false;
    }
    current_ = point;
    end_ = toImage(point);
    return true;
}

bool TrimSelection::release(PreviewPoint point) {
    const bool wasDragging = dragging_;
    dragging_ = false;
    if (!wasDragging || !inside(point)) {
        return false;
    }
    current_ = point;
    end_ = toImage(point);
    return true;
}

TrimRect TrimSelection::rect() const {
    return {std::min(start_.x, end_.x), std::min(start_.y, end_.y), std::abs(end_.x - start_.x),
            std::abs(end_.y - start_.y)};
}

} // namespace velmora::edit
