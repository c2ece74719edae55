#include "codecs/avif/avif_orientation.h"

#include "codecs/corrections/orientation.h"

namespace velmora::codecs::avif {
namespace {

constexpr int kNoMirror = -1;

// The EXIF orientation (1..8) that the irot angle (0..3, quarter turns anticlockwise) and, when
// present, the imir mode (0 top and bottom exchanged, 1 left and right) describe together, the
// rotation coming first.
int orientationOfTransforms(int angle, int mirrorMode) {
    // Rows: quarter turns anticlockwise; columns: no mirror, top-bottom, left-right.
    static constexpr int kOrientations[4][3] = {{1, 4, 2}, {8, 5, 7}, {3, 2, 4}, {6, 7, 5}};
    return kOrientations[angle & 3][mirrorMode == kNoMirror ? 0 : 1 + (mirrorMode & 1)];
}

} // namespace

int storedOrientation(const avifImage& picture) {
    const bool rotated = (picture.transformFlags & AVIF_TRANSFORM_IROT) != 0;
    const bool mirrored = (picture.transformFlags & AVIF_TRANSFORM_IMIR) != 0;
    if (rotated || mirrored) {
        return orientationOfTransforms(rotated ? picture.irot.angle & 3 : 0,
                                       mirrored ? picture.imir.mode & 1 : kNoMirror);
    }
    return picture.exif.size > 0 ? exifOrientation({picture.exif.data, picture.exif.size})
                                 : kUpright;
}

} // namespace velmora::codecs::avif
