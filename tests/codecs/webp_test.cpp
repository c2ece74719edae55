#include "codecs/corrections/colour_profile.h"
#include "codecs/corrections/orientation.h"
#include "codecs/corrections/picture_corrections.h"
#include "codecs/webp/webp_reader.h"
#include "tool_pictures.h"

#include <gtest/gtest.h>

namespace velmora::codecs {
namespace {

using test::SourcePicture;

class Webp : public test::ToolPictureTest {
  protected:
    image::DibImage image;
    image::DibImage reference;
};

// dwebp decodes with the same library and the same upsampling into 8-bit RGB(A), so every case,
// the reduced one included (the library's scaler both ways), must match exactly.
TEST_F(Webp, DecodesAsTheLibrarysOwnTool) {
    struct Case {
        const char* name;
        SourcePicture source;
        const char* encoder;
        int boxWidth = 0; // a reduced read for this box when not 0
        int boxHeight = 0;
        const char* decoder = "dwebp {in} -o {out}";
    };
    const Case cases[] = {
        {"lossy.webp", {64, 48}, "cwebp -q 75 {in} -o {out}"},
        {"lossless.webp", {64, 48}, "cwebp -lossless {in} -o {out}"},
        {"lossy-alpha.webp", {64, 48, true}, "cwebp -q 60 {in} -o {out}"},
        {"lossless-alpha.webp", {64, 48, true}, "cwebp -lossless -exact {in} -o {out}"},
        {"from-16-bit.webp", {33, 17, false, 16}, "cwebp -q 90 {in} -o {out}"},
        {"one-pixel.webp", {1, 1}, "cwebp {in} -o {out}"},
        {"column.webp", {1, 37, true}, "cwebp -lossless {in} -o {out}"},
        {"wide.webp", {4097, 3}, "cwebp -q 50 {in} -o {out}"},
        {"reduced.webp",
         {800, 600},
         "cwebp -q 80 {in} -o {out}",
         100,
         120,
         "dwebp -resize 200 150 {in} -o {out}"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(encode(c.source, c.encoder, c.name)) << c.name;
        ASSERT_TRUE(decodeWithTool(c.decoder, c.name, reference)) << c.name;
        const auto path = devicePath(c.name);
        ASSERT_TRUE(c.boxWidth != 0 ? loadWebpScaled(image, path, c.boxWidth, c.boxHeight)
                                    : loadWebp(image, path))
            << c.name;
        EXPECT_EQ(test::largestChannelDifference(image, reference), 0) << c.name;
    }
}

// The EXIF chunk's orientation and the ICCP chunk's profile, each only while wanted.
TEST_F(Webp, ExifAndIccpChunksApplyAsTheCorrectionsAsk) {
    // Orientation 6 in a big-endian TIFF structure behind the APP1 prefix.
    const std::string exif(
        "Exif\0\0MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0", 32);
    const std::vector<uint8_t> profile = profileFromGammaAndPrimaries(100000, {});
    put("exif.bin", exif);
    put("profile.icc", std::string(profile.begin(), profile.end()));
    ASSERT_TRUE(encode({40, 30}, "cwebp -lossless {in} -o {out}", "plain.webp"));
    ASSERT_TRUE(test::runQuietly("webpmux -set exif " + hostPath("exif.bin") + " " +
                                 hostPath("plain.webp") + " -o " + hostPath("turned.webp")));
    ASSERT_TRUE(test::runQuietly("webpmux -set icc " + hostPath("profile.icc") + " " +
                                 hostPath("turned.webp") + " -o " + hostPath("both.webp")));
    ASSERT_TRUE(loadWebp(reference, devicePath("plain.webp")));
    const auto colour = transformFromProfile(profile, PixelLayout::Bgr);
    ASSERT_NE(colour, nullptr);
    image::DibImage converted;
    ASSERT_TRUE(loadWebp(converted, devicePath("plain.webp")));
    colour->convertPicture(converted);
    ASSERT_GT(test::largestChannelDifference(converted, reference), 0); // the profile shows
    for (const bool upright : {false, true}) {
        for (const bool colourProfiles : {false, true}) {
            setPictureCorrections({upright, colourProfiles});
            image::DibImage expected;
            ASSERT_TRUE(loadWebp(expected, devicePath("plain.webp")));
            if (colourProfiles) {
                colour->convertPicture(expected);
            }
            ASSERT_TRUE(!upright || turnUpright(expected, 6));
            ASSERT_TRUE(loadWebp(image, devicePath("both.webp")));
            EXPECT_EQ(test::largestChannelDifference(image, expected), 0)
                << upright << colourProfiles;
        }
    }
    setPictureCorrections({});
}

TEST_F(Webp, RefusalsAndErrorsGiveTheirCauses) {
    expectRefusals(
        [](const std::string& in, const std::string& out, const std::string& options) {
            return "cwebp " + options + " " + in + " -o " + out;
        },
        "-q 75", ".webp", [](image::DibImage& i, std::u16string_view p) { return loadWebp(i, p); },
        20, LoadCause::Undecodable);
    // A lossless header claiming 16384 x 16384, over the image limits.
    const std::string huge("RIFF\x16\0\0\0WEBPVP8L\x0a\0\0\0\x2f\xff\xff\xff\x0f\0\0\0\0\0", 30);
    EXPECT_EQ(loadWebp(image, put("huge.webp", huge)).cause, LoadCause::TooLarge);
}

} // namespace
} // namespace velmora::codecs
