#include "codecs/jxl/jxl_decoder.h"
#include "correction_check.h"
#include "picture_notes.h"
#include "tool_conformance.h"

#include <jxl/encode.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora::codecs {
namespace {

using Jxl = test::ToolConformance;

std::string cjxl(const std::string& in, const std::string& out, const std::string& options) {
    return "cjxl " + in + " " + out + " " + options;
}

std::string djxl(const std::string& in, const std::string& out, const std::string&) {
    return "djxl " + in + " " + out;
}

// djxl writes 8-bit pictures with the library's own rounding to 8 bits, as the reader asks for:
// exact. A 16-bit picture it writes as a 16-bit PNG whose high byte the PNG reader keeps, while
// the library rounds for the reader: within 1. (Its --bits_per_sample=8 writes 16-bit samples
// under an 8-bit header, so it cannot serve.)
TEST_F(Jxl, DecodesAsDjxlDoes) {
    const test::ToolCase cases[] = {
        {"lossy", 64, 48, false, 8, "-d 1.5", 0},
        {"lossless", 33, 17, false, 8, "-d 0", 0},
        {"alpha", 40, 30, true, 8, "-d 1", 0},
        {"lossless alpha", 21, 5, true, 8, "-d 0", 0},
        {"1x1", 1, 1, false, 8, "-d 1", 0},
        {"1x7", 1, 7, false, 8, "-d 1", 0},
        {"4097x3", 4097, 3, false, 8, "-d 1", 0},
        {"16-bit", 48, 32, false, 16, "-d 1", 1},
        {"16-bit lossless", 19, 11, false, 16, "-d 0", 1},
        {"recompressed JPEG", 50, 40, false, 8, "--lossless_jpeg=1", 0, true},
    };
    for (const auto& c : cases) {
        expectLikeTool(c, cjxl, djxl, ".jxl",
                       [](image::DibImage& i, std::u16string_view p) { return loadJxl(i, p); });
    }
}

// A file libjxl does not take, or that ends within its header, is faulty; one that ends within
// its picture is undecodable; a picture over the pixel limit is refused before decoding; a
// missing file or a folder cannot be opened.
TEST_F(Jxl, RefusalsNameTheirCause) {
    const std::vector<uint8_t> whole = expectRefusals(
        cjxl, "-d 1", ".jxl",
        [](image::DibImage& i, std::u16string_view p) { return loadJxl(i, p); }, 3,
        LoadCause::Undecodable);
    image::DibImage image;
    EXPECT_EQ(jxl::decodeJxl(whole, image, {.maxPixels = 64 * 48 - 1}).cause, LoadCause::TooLarge);
    EXPECT_TRUE(jxl::decodeJxl(whole, image, {.maxPixels = 64 * 48}));
}

// A lossless JPEG XL of the ramp picture made through libjxl, noted with an orientation and an
// ICC profile; empty when libjxl fails.
std::string notedJxl(int width, int height, int orientation, const std::vector<uint8_t>& profile) {
    const test::PngPicture ramp = test::rampPicture({"", width, height, false, 8, "", 0});
    std::vector<uint8_t> samples;
    for (const auto& row : ramp.rows) {
        samples.insert(samples.end(), row.begin(), row.end());
    }
    JxlEncoder* encoder = JxlEncoderCreate(nullptr);
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = static_cast<uint32_t>(width);
    info.ysize = static_cast<uint32_t>(height);
    info.bits_per_sample = 8;
    info.uses_original_profile = JXL_TRUE;
    info.orientation = static_cast<JxlOrientation>(orientation);
    const JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    JxlEncoderFrameSettings* settings = JxlEncoderFrameSettingsCreate(encoder, nullptr);
    bool ok = JxlEncoderSetBasicInfo(encoder, &info) == JXL_ENC_SUCCESS &&
              JxlEncoderSetICCProfile(encoder, profile.data(), profile.size()) == JXL_ENC_SUCCESS &&
              JxlEncoderSetFrameLossless(settings, JXL_TRUE) == JXL_ENC_SUCCESS &&
              JxlEncoderAddImageFrame(settings, &format, samples.data(), samples.size()) ==
                  JXL_ENC_SUCCESS;
    JxlEncoderCloseInput(encoder);
    std::string coded(1 << 16, '\0');
    auto* next = reinterpret_cast<uint8_t*>(coded.data());
    size_t room = coded.size();
    ok = ok && JxlEncoderProcessOutput(encoder, &next, &room) == JXL_ENC_SUCCESS;
    coded.resize(ok ? coded.size() - room : 0);
    JxlEncoderDestroy(encoder);
    return coded;
}

TEST_F(Jxl, OrientationAndProfileApplyOnlyWhenSwitchedOn) {
    const std::vector<uint8_t> p3 = test::displayP3Profile();
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const std::string coded = notedJxl(40, 24, orientation, p3);
        ASSERT_FALSE(coded.empty());
        test::expectCorrectedOnlyWhenOn(
            [](image::DibImage& i, std::u16string_view p) { return loadJxl(i, p); },
            put("noted.jxl", coded), 40, 24, orientation, p3);
    }
}

} // namespace
} // namespace velmora::codecs
