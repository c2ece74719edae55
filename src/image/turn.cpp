#include "image/turn.h"

namespace velmora::image {
namespace {

uint8_t quarter(int turns) {
    return static_cast<uint8_t>(((turns % 4) + 4) % 4);
}

} // namespace

// A mirror after a turn k equals the mirror before a turn -k; a vertical flip is a horizontal
// one followed by a half turn.
Turn Turn::then(TurnStep step) const {
    switch (step) {
    case TurnStep::RotateRight:
        return {quarter(quarterTurns + 1), mirrored};
    case TurnStep::RotateLeft:
        return {quarter(quarterTurns + 3), mirrored};
    case TurnStep::FlipHorizontal:
        return {quarter(-quarterTurns), !mirrored};
    case TurnStep::FlipVertical:
        return {quarter(2 - quarterTurns), !mirrored};
    }
    return *this;
}

Turn Turn::then(Turn next) const {
    Turn result = *this;
    if (next.mirrored) {
        result = result.then(TurnStep::FlipHorizontal);
    }
    result.quarterTurns = quarter(result.quarterTurns + next.quarterTurns);
    return result;
}

TurnStep Turn::inverse(TurnStep step) {
    switch (step) {
    case TurnStep::RotateLeft:
        return TurnStep::RotateRight;
    case TurnStep::RotateRight:
        return TurnStep::RotateLeft;
    default:
        return step;
    }
}

// The same turns the readers make (codecs::turnUpright).
Turn Turn::uprighting(int orientation) {
    switch (orientation) {
    case 2:
        return {0, true};
    case 3:
        return {2, false};
    case 4:
        return {2, true};
    case 5:
        return {3, true};
    case 6:
        return {1, false};
    case 7:
        return {1, true};
    case 8:
        return {3, false};
    default:
        return {};
    }
}

} // namespace velmora::image
