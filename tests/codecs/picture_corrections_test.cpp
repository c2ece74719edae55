// Pictures as they were taken: stored orientations turned upright, embedded colour profiles
// converted as Little CMS's own tools convert them, and neither when switched off.
#include "codecs/corrections/orientation.h"
#include "codecs/corrections/picture_corrections.h"
#include "codecs/jpeg/jpeg_reader.h"
#include "codecs/load_image.h"
#include "codecs/png/png_decoder.h"
#include "device_folder_fixture.h"
#include "image/loaded_image.h"
#include "jpeg_builder.h"
#include "picture_notes.h"
#include "png_builder.h"
#include "support/concurrent_decodes.h"
#include "tiff_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace velmora::codecs {
namespace {

using test::Bgr;
using test::bgrAt;

// The upright test picture: 2 x 3 patches of 16 x 16 pixels, each of its own colour, so that
// every turn and mirror is told apart and JPEG keeps each patch's middle exact.
constexpr int kWidth = 32;
constexpr int kHeight = 48;
Bgr uprightColour(int x, int y) {
    const int patch = (y / 16) * 2 + x / 16;
    static constexpr Bgr kColours[6] = {{200, 40, 30},  {30, 200, 60}, {60, 30, 210},
                                        {220, 220, 40}, {40, 90, 90},  {240, 240, 240}};
    return kColours[patch];
}

// Where stored pixel (sx, sy) appears in the upright picture, by the EXIF definition of each
// orientation ("row 0 is the visual top/bottom/left/right, column 0 the visual ...").
std::pair<int, int> uprightPosition(int orientation, int sx, int sy) {
    const int w = kWidth - 1;
    const int h = kHeight - 1;
    switch (orientation) {
    case 2:
        return {w - sx, sy};
    case 3:
        return {w - sx, h - sy};
    case 4:
        return {sx, h - sy};
    case 5:
        return {sy, sx};
    case 6:
        return {w - sy, sx};
    case 7:
        return {w - sy, h - sx};
    case 8:
        return {sy, h - sx};
    default:
        return {sx, sy};
    }
}

struct Stored {
    int width;
    int height;
    std::function<Bgr(int, int)> colour;
};

Stored storedFor(int orientation) {
    const bool sideways = orientation >= 5;
    return {sideways ? kHeight : kWidth, sideways ? kWidth : kHeight, [orientation](int x, int y) {
                const auto [ux, uy] = uprightPosition(orientation, x, y);
                return uprightColour(ux, uy);
            }};
}

std::string storedJpeg(const Stored& s, int quality = 100) {
    return test::encodeJpeg(
        s.width, s.height, JCS_EXT_BGR,
        [&](int x, int y, uint8_t* p) {
            const Bgr c = s.colour(x, y);
            std::copy(c.begin(), c.end(), p);
        },
        quality);
}

std::vector<uint8_t> rgbSamples(const Stored& s) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            const Bgr c = s.colour(x, y);
            samples.insert(samples.end(), {static_cast<uint8_t>(c[2]), static_cast<uint8_t>(c[1]),
                                           static_cast<uint8_t>(c[0])});
        }
    }
    return samples;
}

test::TiffPicture storedTiff(const Stored& s, uint16_t orientation) {
    test::TiffPicture picture;
    picture.width = static_cast<uint32_t>(s.width);
    picture.height = static_cast<uint32_t>(s.height);
    picture.orientation = orientation;
    picture.rowsPerStrip = 7;
    picture.samples = rgbSamples(s);
    return picture;
}

test::PngPicture storedPng(const Stored& s) {
    test::PngPicture picture;
    picture.width = static_cast<uint32_t>(s.width);
    picture.height = static_cast<uint32_t>(s.height);
    const std::vector<uint8_t> samples = rgbSamples(s);
    for (int y = 0; y < s.height; ++y) {
        const auto row = samples.begin() + y * s.width * 3;
        picture.rows.emplace_back(row, row + s.width * 3);
    }
    return picture;
}

std::string asString(const std::vector<uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

std::vector<uint8_t> pixels(const image::DibImage& image) {
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < image.height(); ++y) {
        out.insert(out.end(), image.row(y), image.row(y) + 3 * image.width());
    }
    return out;
}

class Corrections : public test::DeviceFolderTest {
  protected:
    ~Corrections() override { setPictureCorrections({}); }

    using Picture = std::unique_ptr<image::LoadedImage>;
    Picture load(const std::string& name, const std::string& bytes) {
        put(name, bytes);
        return loadFile(name);
    }
    Picture loadFile(const std::string& name) {
        auto picture = std::make_unique<image::LoadedImage>();
        EXPECT_TRUE(loadImage(*picture, devicePath(name))) << name;
        return picture;
    }
    std::string host(const std::string& name) const { return (dir.path() / name).string(); }
};

TEST_F(Corrections, EveryStoredOrientationGivesTheUprightPicture) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const Stored stored = storedFor(orientation);
        const std::string exif = test::exifTiff(static_cast<uint16_t>(orientation));
        const auto jpeg =
            load("o.jpg", test::withSegment(storedJpeg(stored), 0xE1, test::exifApp1(exif)));
        test::PngPicture pngPicture = storedPng(stored);
        pngPicture.exif.assign(exif.begin(), exif.end());
        const auto png = load("o.png", asString(test::buildPng(pngPicture)));
        ASSERT_TRUE(test::writeTiff(dir.path() / "o.tif",
                                    storedTiff(stored, static_cast<uint16_t>(orientation))));
        const auto tiff = loadFile("o.tif");
        for (const image::LoadedImage* picture : {jpeg.get(), png.get(), tiff.get()}) {
            ASSERT_EQ(picture->width(), kWidth);
            ASSERT_EQ(picture->height(), kHeight);
        }
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                ASSERT_EQ(bgrAt(*png, x, y), uprightColour(x, y)) << x << "," << y;
                ASSERT_EQ(bgrAt(*tiff, x, y), uprightColour(x, y)) << x << "," << y;
            }
        }
        // JPEG keeps the middle of each flat patch.
        for (int y = 8; y < kHeight; y += 16) {
            for (int x = 8; x < kWidth; x += 16) {
                const Bgr got = bgrAt(*jpeg, x, y);
                const Bgr want = uprightColour(x, y);
                for (int c = 0; c < 3; ++c) {
                    EXPECT_NEAR(got[c], want[c], 3) << x << "," << y;
                }
            }
        }
    }
}

TEST_F(Corrections, MalformedExifIsIgnored) {
    const std::string good = test::exifTiff(6);
    std::string looping = good;
    looping.replace(looping.size() - 4, 4, std::string("\x08\0\0\0", 4)); // next IFD: itself
    std::string pointerLoop("II*\0\x08\0\0\0\x01\0\x69\x87\x04\0\x01\0\0\0\x08\0\0\0\0\0\0\0",
                            26); // EXIF sub-directory pointing back at the first one
    std::string farOffset = good;
    farOffset.replace(4, 4, std::string("\0\xFF\xFF\xFF", 4));
    std::string wrongType = good;
    wrongType[10] = 4; // LONG instead of SHORT
    const struct {
        const char* name;
        std::string tiff;
        int orientation;
    } cases[] = {
        {"well formed", good, 6},
        {"cut inside the entry", good.substr(0, 14), 1},
        {"cut before the entries", good.substr(0, 9), 1},
        {"directory far outside", farOffset, 1},
        {"next directory is itself", looping, 6},
        {"sub-directory loops back", pointerLoop, 1},
        {"value out of range", test::exifTiff(9), 1},
        {"value of the wrong type", wrongType, 1},
        {"not TIFF at all", "MM\0\x2Anonsense", 1},
    };
    const auto plain = load("plain.jpg", storedJpeg(storedFor(1)));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string app1 = test::exifApp1(c.tiff);
        EXPECT_EQ(exifOrientation({reinterpret_cast<const uint8_t*>(app1.data()), app1.size()}),
                  c.orientation);
        if (c.orientation == 1) {
            const auto jpeg =
                load("bad.jpg", test::withSegment(storedJpeg(storedFor(1)), 0xE1, app1));
            EXPECT_EQ(pixels(*jpeg), pixels(*plain));
        }
    }
}

// Runs one of Little CMS's tools (jpgicc, tificc): input profile embedded, output sRGB,
// perceptual intent.
void runTool(const std::string& tool, const std::string& in, const std::string& out) {
    const std::string quality = tool == "jpgicc" ? " -q100" : "";
    const std::string command =
        tool + " -t0" + quality + " '" + in + "' '" + out + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

void expectNear(const image::DibImage& got, const image::DibImage& want, int tolerance, int step) {
    ASSERT_EQ(got.width(), want.width());
    ASSERT_EQ(got.height(), want.height());
    for (int y = step / 2; y < got.height(); y += step) {
        for (int x = step / 2; x < got.width(); x += step) {
            const Bgr a = bgrAt(got, x, y);
            const Bgr b = bgrAt(want, x, y);
            for (int c = 0; c < 3; ++c) {
                ASSERT_NEAR(a[c], b[c], tolerance) << x << "," << y << " channel " << c;
            }
        }
    }
}

// Saturated, mid and dark colours, 16 x 16 patches on a 64 x 64 picture.
Bgr paletteColour(int x, int y) {
    const int i = (y / 16) * 4 + x / 16;
    static constexpr Bgr kColours[16] = {
        {0, 0, 255},     {0, 255, 0},   {255, 0, 0},     {0, 255, 255},
        {255, 0, 255},   {255, 255, 0}, {30, 60, 200},   {200, 120, 40},
        {128, 128, 128}, {20, 20, 20},  {240, 230, 250}, {90, 180, 60},
        {10, 80, 160},   {160, 10, 80}, {80, 160, 10},   {255, 255, 255}};
    return kColours[i];
}

Stored storedPixelsOf(const image::DibImage& image) {
    return {image.width(), image.height(), [&image](int x, int y) { return bgrAt(image, x, y); }};
}

// The JPEG's four components as the library decodes them (the reader's fast integer method).
std::vector<uint8_t> decodedInks(const std::string& jpeg) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_CMYK;
    cinfo.dct_method = JDCT_IFAST;
    jpeg_start_decompress(&cinfo);
    std::vector<uint8_t> inks(size_t{4} * cinfo.output_width * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = inks.data() + size_t{4} * cinfo.output_width * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return inks;
}

// Each embedded profile converts to within 1 level of Little CMS's tificc given the same
// decoded pixels and profile (every pixel; TIFF and PNG are lossless, and for JPEG the pixels
// the reader decodes are handed to tificc). jpgicc, which codes its result as a JPEG again,
// agrees in the middle of every patch within that coding's own error.
TEST_F(Corrections, EmbeddedProfilesConvertAsLittleCmsToolsDo) {
    const Stored palette{64, 64, paletteColour};
    const struct {
        const char* name;
        std::vector<uint8_t> profile;
    } profiles[] = {{"Display P3", test::displayP3Profile()},
                    {"Adobe RGB", test::adobeRgbProfile()}};
    for (const auto& [name, profile] : profiles) {
        SCOPED_TRACE(name);
        dir.write("p.jpg", test::withSegment(storedJpeg(palette), 0xE2, test::iccApp2(profile)));
        runTool("jpgicc", host("p.jpg"), host("p-jpgicc.jpg"));
        test::TiffPicture tiffPicture = storedTiff(palette, ORIENTATION_TOPLEFT);
        tiffPicture.iccProfile = profile;
        ASSERT_TRUE(test::writeTiff(dir.path() / "p.tif", tiffPicture));
        runTool("tificc", host("p.tif"), host("p-tificc.tif"));
        test::PngPicture pngPicture = storedPng(palette);
        pngPicture.iccProfile = profile;
        put("p.png", asString(test::buildPng(pngPicture)));

        const auto jpeg = loadFile("p.jpg");
        const auto tiff = loadFile("p.tif");
        const auto png = loadFile("p.png");
        setPictureCorrections({false, false});
        const auto stored = loadFile("p.jpg");
        test::TiffPicture decoded = storedTiff(storedPixelsOf(*stored), ORIENTATION_TOPLEFT);
        decoded.iccProfile = profile;
        ASSERT_TRUE(test::writeTiff(dir.path() / "d.tif", decoded));
        runTool("tificc", host("d.tif"), host("d-tificc.tif"));
        const auto fromJpgicc = loadFile("p-jpgicc.jpg");
        const auto fromTificc = loadFile("p-tificc.tif");
        const auto jpegFromTificc = loadFile("d-tificc.tif");
        setPictureCorrections({});

        expectNear(*tiff, *fromTificc, 1, 1);
        expectNear(*png, *fromTificc, 1, 1);
        expectNear(*jpeg, *jpegFromTificc, 1, 1);
        expectNear(*jpeg, *fromJpgicc, 3, 16);
        EXPECT_NE(bgrAt(*jpeg, 8, 8), bgrAt(*stored, 8, 8)); // saturated colours do move
    }
}

// A PNG gAMA near 1/2.2 is the screen's encoding and changes nothing, as libpng takes it; a
// linear one converts as the matching profile does.
TEST_F(Corrections, PngGammaIsHonouredAsLibpngTakesIt) {
    const Stored palette{64, 64, paletteColour};
    test::PngPicture png = storedPng(palette);
    put("plain.png", asString(test::buildPng(png)));
    png.fileGamma = 0.45455;
    put("screen.png", asString(test::buildPng(png)));
    png.fileGamma = 1.0;
    put("linear.png", asString(test::buildPng(png)));
    test::TiffPicture linear = storedTiff(palette, ORIENTATION_TOPLEFT);
    linear.iccProfile = test::rgbProfile({0.64, 0.33, 0.30, 0.60, 0.15, 0.06}, 1.0);
    ASSERT_TRUE(test::writeTiff(dir.path() / "linear.tif", linear));
    runTool("tificc", host("linear.tif"), host("linear-tificc.tif"));

    EXPECT_EQ(pixels(*loadFile("screen.png")), pixels(*loadFile("plain.png")));
    const auto converted = loadFile("linear.png");
    setPictureCorrections({false, false});
    const auto wanted = loadFile("linear-tificc.tif");
    setPictureCorrections({});
    expectNear(*converted, *wanted, 1, 1);
}

// A CMYK JPEG (inks inverted, as libjpeg and Adobe's programs write them) converts through its
// profile as tificc converts the same inks; without the profile it keeps the plain arithmetic.
TEST_F(Corrections, CmykJpegConvertsThroughItsProfile) {
    const std::string cmyk = test::encodeJpeg(
        64, 64, JCS_CMYK,
        [](int x, int y, uint8_t* p) {
            const Bgr c = paletteColour(x, y);
            p[0] = static_cast<uint8_t>(c[2]);
            p[1] = static_cast<uint8_t>(c[1]);
            p[2] = static_cast<uint8_t>(c[0]);
            p[3] = static_cast<uint8_t>(255 - (x / 16) * 40);
        },
        100);
    const std::vector<uint8_t> profile = test::cmykProfile();
    test::TiffPicture inks;
    inks.width = 64;
    inks.height = 64;
    inks.samplesPerPixel = 4;
    inks.photometric = PHOTOMETRIC_SEPARATED;
    inks.rowsPerStrip = 64;
    for (const uint8_t stored : decodedInks(cmyk)) {
        inks.samples.push_back(static_cast<uint8_t>(255 - stored));
    }
    inks.iccProfile = profile;
    ASSERT_TRUE(test::writeTiff(dir.path() / "k.tif", inks));
    runTool("tificc", host("k.tif"), host("k-tificc.tif"));

    const auto converted = load("k.jpg", test::withSegment(cmyk, 0xE2, test::iccApp2(profile)));
    const auto plain = load("plain.jpg", cmyk);
    setPictureCorrections({false, false});
    const auto wanted = loadFile("k-tificc.tif");
    const auto arithmetic = loadFile("k.jpg");
    setPictureCorrections({});
    expectNear(*converted, *wanted, 1, 1);
    EXPECT_NE(pixels(*converted), pixels(*arithmetic));
    EXPECT_EQ(pixels(*plain), pixels(*arithmetic));
}

// Switched off, or with notes that cannot be used, a file decodes exactly as it does without
// its notes.
TEST_F(Corrections, OffOrUnusableNotesLeaveTheStoredPixels) {
    const Stored stored = storedFor(6);
    const std::string plainJpeg = storedJpeg(stored, 90);
    const std::string exif = test::exifTiff(6);
    const std::vector<uint8_t> p3 = test::displayP3Profile();
    std::vector<uint8_t> broken = p3;
    broken.resize(broken.size() / 2);
    std::vector<uint8_t> garbage(600, 0x5A);

    const std::string noted = test::withSegment(
        test::withSegment(plainJpeg, 0xE2, test::iccApp2(p3)), 0xE1, test::exifApp1(exif));
    test::PngPicture notedPng = storedPng(stored);
    notedPng.iccProfile = p3;
    notedPng.exif.assign(exif.begin(), exif.end());
    test::TiffPicture notedTiff = storedTiff(stored, ORIENTATION_RIGHTTOP);
    notedTiff.iccProfile = p3;
    ASSERT_TRUE(test::writeTiff(dir.path() / "noted.tif", notedTiff));
    ASSERT_TRUE(
        test::writeTiff(dir.path() / "plain.tif", storedTiff(stored, ORIENTATION_RIGHTTOP)));
    put("noted.png", asString(test::buildPng(notedPng)));
    put("plain.png", asString(test::buildPng(storedPng(stored))));

    setPictureCorrections({false, false});
    EXPECT_EQ(pixels(*load("a.jpg", noted)), pixels(*load("b.jpg", plainJpeg)));
    EXPECT_EQ(pixels(*loadFile("noted.png")), pixels(*loadFile("plain.png")));
    EXPECT_EQ(pixels(*loadFile("noted.tif")), pixels(*loadFile("plain.tif")));

    setPictureCorrections({});
    for (const auto* profile : {&broken, &garbage}) {
        EXPECT_EQ(
            pixels(*load("c.jpg", test::withSegment(plainJpeg, 0xE2, test::iccApp2(*profile)))),
            pixels(*load("b.jpg", plainJpeg)));
    }
}

// The look-ahead worker and the interface thread decode at the same time and share the cached
// transform of a profile; each picture comes out as when decoded alone.
TEST(CorrectionsOnThreads, DecodesShareTransformsSafely) {
    const Stored palette{64, 64, paletteColour};
    const std::string p3Jpeg =
        test::withSegment(storedJpeg(palette), 0xE2, test::iccApp2(test::displayP3Profile()));
    test::PngPicture adobe = storedPng(palette);
    adobe.iccProfile = test::adobeRgbProfile();
    adobe.exif = [] {
        const std::string exif = test::exifTiff(6);
        return std::vector<uint8_t>(exif.begin(), exif.end());
    }();
    const std::vector<std::string> files{p3Jpeg, p3Jpeg, asString(test::buildPng(adobe)), p3Jpeg};
    const test::DecodeFromBytes decode = [](image::DibImage& image, const std::string& bytes) {
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
        return bytes[1] == 'P' ? decodePngMemory({data, bytes.size()}, image) == PngDecodeResult::Ok
                               : jpeg::decodeJpegFromMemory(image, data, bytes.size());
    };
    std::vector<image::DibImage> alone(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        ASSERT_TRUE(decode(alone[i], files[i]));
    }
    std::vector<image::DibImage> together(files.size());
    EXPECT_EQ(test::decodeConcurrently(together, files, decode, 3), std::vector<int>(4, 3));
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(pixels(together[i]), pixels(alone[i])) << i;
    }
}

} // namespace
} // namespace velmora::codecs
