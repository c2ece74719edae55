#include "codecs/reduction.h"

#include <initializer_list>

namespace velmora::codecs {

int reductionFor(uint32_t pictureWidth, uint32_t pictureHeight, int boxWidth, int boxHeight) {
    for (const int denominator : {8, 4, 2}) {
        if (int64_t{pictureWidth} >= int64_t{denominator} * boxWidth &&
            int64_t{pictureHeight} >= int64_t{denominator} * boxHeight) {
            return denominator;
        }
    }
    return 1;
}

} // namespace velmora::codecs
