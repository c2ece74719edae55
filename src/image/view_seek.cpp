// Seeking: walking a large image screen by screen in reading order, then on to the next or
// previous picture. With the default top-right placement and horizontal-first order this reads
// right-to-left pages: leftward along a band, then one step down starting again at the right.
#include "image/view_geometry.h"

namespace velmora::image {

bool ViewGeometry::moved(MoveDirection direction, int32_t amount) {
    const bool horizontal = direction == MoveDirection::Left || direction == MoveDirection::Right;
    const int32_t before = horizontal ? state_.originX : state_.originY;
    (void)moveView(direction, amount); // true for a move along either axis
    return (horizontal ? state_.originX : state_.originY) != before;
}

SeekResult ViewGeometry::seekForward() {
    const bool fromRight = options_.placement == Placement::TopRight;
    const MoveDirection along = fromRight ? MoveDirection::Left : MoveDirection::Right;
    if (options_.seekOrder == SeekOrder::VerticalFirst) {
        if (!moved(MoveDirection::Down, options_.seekStepY)) {
            state_.originY = 0;
            if (!moved(along, options_.seekStepX)) {
                return SeekResult::ShowNext;
            }
        }
        return SeekResult::Moved;
    }
    if (!moved(along, options_.seekStepX)) {
        state_.originX = fromRight ? surface_.width - state_.displayWidth : 0;
        if (!moved(MoveDirection::Down, options_.seekStepY)) {
            return SeekResult::ShowNext;
        }
    }
    return SeekResult::Moved;
}

SeekResult ViewGeometry::seekBackward() {
    const bool fromRight = options_.placement == Placement::TopRight;
    const MoveDirection back = fromRight ? MoveDirection::Right : MoveDirection::Left;
    if (options_.seekOrder == SeekOrder::VerticalFirst) {
        if (!moved(MoveDirection::Up, options_.seekStepY)) {
            if (taller()) {
                state_.originY = surface_.height - state_.displayHeight;
            }
            if (!moved(back, options_.seekStepX)) {
                return SeekResult::ShowPrevious;
            }
        }
        return SeekResult::Moved;
    }
    if (!moved(back, options_.seekStepX)) {
        if (wider()) {
            state_.originX = fromRight ? 0 : surface_.width - state_.displayWidth;
        }
        if (!moved(MoveDirection::Up, options_.seekStepY)) {
            return SeekResult::ShowPrevious;
        }
    }
    return SeekResult::Moved;
}

void ViewGeometry::showReadingEnd() {
    if (taller()) {
        state_.originY = surface_.height - state_.displayHeight;
    }
    if (wider()) {
        state_.originX =
            options_.placement == Placement::TopRight ? 0 : surface_.width - state_.displayWidth;
    }
}

} // namespace velmora::image
