#include "codecs/image_format.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::codecs {
namespace {

TEST(FormatFromExtension, MatchesEndingsWithoutRegardToCase) {
    const std::pair<std::u16string, ImageFormat> cases[] = {
        {u"PHOTO.JPG", ImageFormat::Jpeg}, {u"photo.Jpeg", ImageFormat::Jpeg},
        {u"a.JPEG", ImageFormat::Jpeg},    {u"\\My Documents\\x.gif", ImageFormat::Gif},
        {u"a.Bmp", ImageFormat::Bmp},      {u"old.MAG", ImageFormat::Mag},
        {u"shot.png", ImageFormat::Png},   {u"scan.tif", ImageFormat::Tiff},
        {u".gif", ImageFormat::Gif},       {u"a.b.c.jpg", ImageFormat::Jpeg},
    };
    for (const auto& [path, format] : cases) {
        EXPECT_EQ(formatFromExtension(path), format) << std::string(path.begin(), path.end());
    }
}

TEST(FormatFromExtension, OtherEndingsAreNotImages) {
    const std::u16string names[] = {u"a.tiff", u"a.jpe",         u"a.jfif",          u"gif",
                                    u"",       u"photo.jpg.txt", u"\\x.bmp\\readme", u"a.gi",
                                    u"ajpg",   u"a.jpg "};
    for (const auto& name : names) {
        EXPECT_EQ(formatFromExtension(name), ImageFormat::None)
            << std::string(name.begin(), name.end());
    }
}

TEST(FormatFromExtension, FoldsOnlyAsciiLetters) {
    // U+0130 folds to 'i' in some locales, and full-width letters fold to ASCII in others.
    EXPECT_EQ(formatFromExtension(u"a.t\u0130f"), ImageFormat::None);
    EXPECT_EQ(formatFromExtension(u"a.\uFF50\uFF4E\uFF47"), ImageFormat::None);
}

} // namespace
} // namespace velmora::codecs
