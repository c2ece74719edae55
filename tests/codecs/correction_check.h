// Checks that a reader applies a file's own orientation and colour profile exactly when the
// picture corrections are on: switched on, the picture equals the stored one turned upright and
// converted through the profile; switched off, it is the stored one.
#pragma once

#include "codecs/corrections/colour_profile.h"
#include "codecs/corrections/orientation.h"
#include "codecs/corrections/picture_corrections.h"
#include "codecs/load_result.h"
#include "image/dib_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace velmora::test {

using PictureReader = std::function<codecs::LoadResult(image::DibImage&, std::u16string_view)>;

inline std::vector<uint8_t> pixelBytes(const image::DibImage& image) {
    std::vector<uint8_t> bytes;
    for (int32_t y = 0; y < image.height(); ++y) {
        bytes.insert(bytes.end(), image.row(y), image.row(y) + 3 * image.width());
    }
    return bytes;
}

// path holds a storedWidth x storedHeight picture noted with orientation and profile.
inline void expectCorrectedOnlyWhenOn(const PictureReader& reader, std::u16string_view path,
                                      int storedWidth, int storedHeight, int orientation,
                                      const std::vector<uint8_t>& profile) {
    image::DibImage stored;
    image::DibImage corrected;
    codecs::setPictureCorrections({false, false});
    ASSERT_TRUE(reader(stored, path));
    codecs::setPictureCorrections({true, true});
    ASSERT_TRUE(reader(corrected, path));
    codecs::setPictureCorrections({});
    EXPECT_EQ(stored.width(), storedWidth);
    EXPECT_EQ(stored.height(), storedHeight);
    image::DibImage expected;
    ASSERT_TRUE(expected.create(stored.width(), stored.height()));
    expected.copyFrom(0, 0, stored);
    ASSERT_TRUE(codecs::turnUpright(expected, orientation));
    codecs::transformFromProfile(profile, codecs::PixelLayout::Bgr)->convertPicture(expected);
    EXPECT_EQ(corrected.width(), expected.width());
    EXPECT_EQ(pixelBytes(corrected), pixelBytes(expected));
    EXPECT_NE(pixelBytes(corrected), pixelBytes(stored));
}

} // namespace velmora::test
