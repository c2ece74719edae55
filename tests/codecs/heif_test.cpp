#include "codecs/heif/heif_decoder.h"
#include "correction_check.h"
#include "picture_notes.h"
#include "tool_conformance.h"

#include <libheif/heif.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora::codecs {
namespace {

using Heif = test::ToolConformance;

std::string heifEnc(const std::string& in, const std::string& out, const std::string& options) {
    return "heif-enc " + options + " " + in + " -o " + out;
}

std::string heifConvert(const std::string& in, const std::string& out, const std::string&) {
    return "heif-convert " + in + " " + out;
}

// heif-convert asks libheif for the same interleaved 8-bit RGB (RGBA with alpha, whose colour
// channels libheif converts alike), so 8-bit pictures match exactly. For 10 bits it writes a
// 16-bit PNG whose high byte the PNG reader keeps, while the reader rounds: within 1.
TEST_F(Heif, DecodesAsHeifConvertDoes) {
    const test::ToolCase cases[] = {
        {"lossy", 64, 48, false, 8, "-q 50", 0},
        {"lossless", 33, 17, false, 8, "-L -p chroma=444", 0},
        {"alpha", 40, 30, true, 8, "-q 60", 0},
        {"1x1", 1, 1, false, 8, "-q 70", 0},
        {"1x7", 1, 7, false, 8, "-q 70", 0},
        {"4097x3", 4097, 3, false, 8, "-q 70", 0},
        {"10-bit", 48, 32, false, 16, "-q 60 -b 10", 1},
        {"10-bit alpha", 31, 9, true, 16, "-q 60 -b 10", 1},
    };
    for (const auto& c : cases) {
        expectLikeTool(c, heifEnc, heifConvert, ".heic",
                       [](image::DibImage& i, std::u16string_view p) { return loadHeif(i, p); });
    }
}

// A file libheif does not take, or stops reading, is faulty; a picture over the pixel limit is
// refused before decoding; a missing file or a folder cannot be opened.
TEST_F(Heif, RefusalsNameTheirCause) {
    const std::vector<uint8_t> whole = expectRefusals(
        heifEnc, "-q 50", ".heic",
        [](image::DibImage& i, std::u16string_view p) { return loadHeif(i, p); }, 40,
        LoadCause::Faulty);
    image::DibImage image;
    EXPECT_EQ(heif::decodeHeif(whole, image, {.maxPixels = 64 * 48 - 1}).cause,
              LoadCause::TooLarge);
    EXPECT_TRUE(heif::decodeHeif(whole, image, {.maxPixels = 64 * 48}));
}

// A lossy HEIC of the ramp picture made through libheif, noted with an orientation (irot and
// imir) and an ICC profile; false when libheif fails.
bool writeNotedHeic(const std::string& file, int width, int height, int orientation,
                    const std::vector<uint8_t>& profile) {
#if defined(__SANITIZE_ADDRESS__)
    // x265 keeps a few blocks of every encoder until the process ends.
    __lsan::ScopedDisabler x265KeepsBlocks;
#endif
    const test::PngPicture ramp = test::rampPicture({"", width, height, false, 8, "", 0});
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image* picture = nullptr;
    heif_encoding_options* options = heif_encoding_options_alloc();
    bool ok =
        heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code ==
            heif_error_Ok &&
        heif_image_create(width, height, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &picture)
                .code == heif_error_Ok &&
        heif_image_add_plane(picture, heif_channel_interleaved, width, height, 8).code ==
            heif_error_Ok;
    if (ok) {
        int stride = 0;
        uint8_t* plane = heif_image_get_plane(picture, heif_channel_interleaved, &stride);
        for (int y = 0; y < height; ++y) {
            std::copy(ramp.rows[y].begin(), ramp.rows[y].end(), plane + y * stride);
        }
        heif_encoder_set_lossy_quality(encoder, 90);
        options->image_orientation = static_cast<heif_orientation>(orientation);
        ok = heif_image_set_raw_color_profile(picture, "prof", profile.data(), profile.size())
                     .code == heif_error_Ok &&
             heif_context_encode_image(context, picture, encoder, options, nullptr).code ==
                 heif_error_Ok &&
             heif_context_write_to_file(context, file.c_str()).code == heif_error_Ok;
    }
    heif_encoding_options_free(options);
    heif_image_release(picture);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return ok;
}

// The file's turns are libheif's to apply: with AUTOROTATE off they are left out, and no EXIF
// orientation is applied on top of them.
TEST_F(Heif, OrientationAndProfileApplyOnlyWhenSwitchedOn) {
    const std::vector<uint8_t> p3 = test::displayP3Profile();
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const std::string file = (dir.path() / "noted.heic").string();
        ASSERT_TRUE(writeNotedHeic(file, 40, 24, orientation, p3));
        test::expectCorrectedOnlyWhenOn(
            [](image::DibImage& i, std::u16string_view p) { return loadHeif(i, p); },
            devicePath("noted.heic"), 40, 24, orientation, p3);
    }
}

} // namespace
} // namespace velmora::codecs
