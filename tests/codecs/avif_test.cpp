#include "codecs/avif/avif_reader.h"
#include "tool_pictures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velmora::codecs {
namespace {

using test::SourcePicture;

class Avif : public test::ToolPictureTest {
  protected:
    image::DibImage image;
    image::DibImage reference;
};

constexpr const char* kToolDecoder = "avifdec -d 8 {in} {out}";

// avifdec converts with the same library function at 8 bits, which rounds deeper samples, and
// keeps the alpha as the reader does.
TEST_F(Avif, DecodesAsTheLibrarysOwnTool) {
    struct Case {
        const char* name;
        SourcePicture source;
        const char* encoder;
    };
    const Case cases[] = {
        {"lossy-420.avif", {64, 48}, "avifenc -s 10 --min 20 --max 30 {in} {out}"},
        {"lossless.avif", {64, 48}, "avifenc -s 10 -l {in} {out}"},
        {"alpha.avif", {64, 48, true}, "avifenc -s 10 {in} {out}"},
        {"ten-bit-444.avif", {33, 17, false, 16}, "avifenc -s 10 -d 10 -y 444 {in} {out}"},
        {"ten-bit-420.avif", {33, 17, false, 16}, "avifenc -s 10 -d 10 {in} {out}"},
        {"ten-bit-420-alpha.avif", {33, 17, true, 16}, "avifenc -s 10 -d 10 {in} {out}"},
        {"twelve-bit-420-alpha.avif", {33, 17, true, 16}, "avifenc -s 10 -d 12 {in} {out}"},
        {"twelve-bit-422.avif", {33, 17, false, 16}, "avifenc -s 10 -d 12 -y 422 {in} {out}"},
        {"grey.avif", {20, 10}, "avifenc -s 10 -y 400 {in} {out}"},
        {"one-pixel.avif", {1, 1}, "avifenc -s 10 {in} {out}"},
        {"column.avif", {1, 37, true}, "avifenc -s 10 {in} {out}"},
        {"wide.avif", {4097, 3}, "avifenc -s 10 {in} {out}"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(encode(c.source, c.encoder, c.name)) << c.name;
        ASSERT_TRUE(decodeWithTool(kToolDecoder, c.name, reference)) << c.name;
        ASSERT_TRUE(loadAvif(image, devicePath(c.name))) << c.name;
        EXPECT_EQ(test::largestChannelDifference(image, reference), 0) << c.name;
        // The tool's file keeps the alpha as the reader does.
        EXPECT_EQ(image.hasAlpha(), reference.hasAlpha()) << c.name;
        if (image.hasAlpha() && reference.hasAlpha()) {
            EXPECT_EQ(std::memcmp(image.alphaRow(0), reference.alphaRow(0), image.alphaBytes()), 0)
                << c.name;
        }
    }
}

// The pixel of the stored picture that lands at (x, y) once turned by angle quarter turns
// anticlockwise and then mirrored (mode 0 top and bottom, 1 left and right, -1 none).
test::Bgr transformedPixel(const image::DibImage& stored, int angle, int mode, int x, int y) {
    const int width = angle % 2 == 0 ? stored.width() : stored.height();
    const int height = angle % 2 == 0 ? stored.height() : stored.width();
    if (mode == 0) {
        y = height - 1 - y;
    } else if (mode == 1) {
        x = width - 1 - x;
    }
    int turnedHeight = height;
    for (int turn = 0; turn < angle; ++turn) { // undo one anticlockwise quarter turn at a time
        const int previousX = turnedHeight - 1 - y;
        y = x;
        x = previousX;
        turnedHeight = turn % 2 == 0 ? width : height;
    }
    return test::bgrAt(stored, x, y);
}

// irot and imir are applied, and the EXIF orientation then is not; avifdec leaves the stored
// picture as it is.
TEST_F(Avif, RotationAndMirrorPropertiesTurnThePicture) {
    // Orientation 3 in a big-endian TIFF structure behind the APP1 prefix.
    put("exif.bin",
        std::string("Exif\0\0MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x03\0\0\0\0\0\0", 32));
    const std::string exif = " --exif " + hostPath("exif.bin");
    for (int angle = 0; angle < 4; ++angle) {
        for (int mode = -1; mode <= 1; ++mode) {
            std::string encoder = "avifenc -s 10 -l --irot " + std::to_string(angle) + exif;
            encoder += mode >= 0 ? " --imir " + std::to_string(mode) : std::string();
            ASSERT_TRUE(encode({7, 4}, encoder + " {in} {out}", "turned.avif"));
            ASSERT_TRUE(decodeWithTool(kToolDecoder, "turned.avif", reference));
            ASSERT_TRUE(loadAvif(image, devicePath("turned.avif")));
            ASSERT_EQ(image.width(), angle % 2 == 0 ? 7 : 4) << angle << mode;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    ASSERT_EQ(test::bgrAt(image, x, y),
                              transformedPixel(reference, angle, mode, x, y))
                        << angle << mode << x << y;
                }
            }
        }
    }
}

TEST_F(Avif, RefusalsAndErrorsGiveTheirCauses) {
    const std::vector<uint8_t> whole = expectRefusals(
        [](const std::string& in, const std::string& out, const std::string& options) {
            return "avifenc " + options + " " + in + " " + out;
        },
        "-s 10", ".avif", [](image::DibImage& i, std::u16string_view p) { return loadAvif(i, p); },
        40, LoadCause::Faulty);
    // Cut inside the coded picture rather than its boxes.
    const std::string tail(whole.begin(), whole.end() - 100);
    EXPECT_EQ(loadAvif(image, put("tail.avif", tail)).cause, LoadCause::Undecodable);
    // The stored size made 15000 x 15000: over the image limits, within the library's.
    std::string huge(whole.begin(), whole.end());
    const size_t size = huge.find("ispe") + 8;
    huge.replace(size, 8, std::string("\0\0\x3a\x98\0\0\x3a\x98", 8));
    EXPECT_EQ(loadAvif(image, put("huge.avif", huge)).cause, LoadCause::TooLarge);
}

} // namespace
} // namespace velmora::codecs
