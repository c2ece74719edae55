#include "codecs/image_format.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::codecs {
namespace {

TEST(FormatFromExtension, MatchesOnlyTheKnownEndingsInAnyAsciiCase) {
    const std::pair<std::u16string, ImageFormat> cases[] = {
        {u"PHOTO.JPG", ImageFormat::Jpeg},
        {u"photo.Jpeg", ImageFormat::Jpeg},
        {u"\\a\\x.gif", ImageFormat::Gif},
        {u".gif", ImageFormat::Gif},
        {u"a.Bmp", ImageFormat::Bmp},
        {u"old.MAG", ImageFormat::Mag},
        {u"shot.png", ImageFormat::Png},
        {u"scan.tif", ImageFormat::Tiff},
        {u"a.TIFF", ImageFormat::Tiff},
        {u"photo.jpe", ImageFormat::Jpeg},
        {u"b.JFif", ImageFormat::Jpeg},
        {u"web.WebP", ImageFormat::Webp},
        {u"a.avif", ImageFormat::Avif},
        {u"phone.HEIC", ImageFormat::Heif},
        {u"a.heif", ImageFormat::Heif},
        {u"a.jxl", ImageFormat::Jxl},
        {u"a.hei", ImageFormat::None},
        {u"a.tiff.", ImageFormat::None},
        {u"a.jf", ImageFormat::None},
        {u"tiff", ImageFormat::None},
        {u"gif", ImageFormat::None},
        {u"", ImageFormat::None},
        {u"a.jpg.txt", ImageFormat::None},
        {u"\\x.bmp\\b", ImageFormat::None},
        {u"a.t\u0130f", ImageFormat::None},
        {u"a.\uFF50\uFF4E\uFF47", ImageFormat::None}, // full-width letters are not ASCII
    };
    for (const auto& [path, format] : cases) {
        EXPECT_EQ(formatFromExtension(path), format) << std::string(path.begin(), path.end());
    }
}

} // namespace
} // namespace velmora::codecs
