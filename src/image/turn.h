// A quarter turn or mirror of a whole picture, and any chain of them, as one value: first mirror
// left to right (when mirrored), then turn clockwise by quarterTurns. The eight values are the
// eight ways a picture can lie, the same eight as the EXIF orientations.
#pragma once

#include <cstdint>

namespace velmora::image {

enum class TurnStep { RotateLeft, RotateRight, FlipVertical, FlipHorizontal };

struct Turn {
    uint8_t quarterTurns = 0; // clockwise, 0..3
    bool mirrored = false;

    // This turn followed by step.
    [[nodiscard]] Turn then(TurnStep step) const;
    // This turn followed by next.
    [[nodiscard]] Turn then(Turn next) const;
    // The turn that undoes step.
    static TurnStep inverse(TurnStep step);
    // The turn that brings a picture stored with an EXIF orientation (1..8) upright; nothing for
    // 1 or an unknown value.
    static Turn uprighting(int orientation);
    [[nodiscard]] bool isIdentity() const { return quarterTurns == 0 && !mirrored; }

    bool operator==(const Turn&) const = default;
};

} // namespace velmora::image
