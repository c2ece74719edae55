// Comparing a reader's picture with what a format library's own decoder tool makes of the same
// file: the tool writes a PNG, which the PNG reader (alpha stripped, 8 bits) turns into an image
// that is compared channel by channel.
#pragma once

#include "image/dib_image.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace velmora::test {

// Runs a shell command with its output thrown away; true when it exits with 0.
inline bool runQuietly(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The largest difference of one colour channel over the two pictures; -1 when their sizes differ.
inline int largestChannelDifference(const image::DibImage& a, const image::DibImage& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        return -1;
    }
    int largest = 0;
    for (int32_t y = 0; y < a.height(); ++y) {
        const uint8_t* rowA = a.row(y);
        const uint8_t* rowB = b.row(y);
        for (int32_t i = 0; i < 3 * a.width(); ++i) {
            largest = std::max(largest, std::abs(rowA[i] - rowB[i]));
        }
    }
    return largest;
}

} // namespace velmora::test
