// Pictures as they were taken: stored orientations turned upright, embedded colour profiles
// converted as Little CMS's own tools convert them, and neither when switched off.
#include "codecs/corrections/colour_profile.h"
#include "codecs/corrections/orientation.h"
#include "codecs/corrections/picture_corrections.h"
#include "codecs/load_image.h"
#include "codecs/readers.h"
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
using Bytes = std::vector<uint8_t>;

struct Stored {
    int width;
    int height;
    std::function<Bgr(int, int)> colour;
};

// 16 x 16 patches of their own colour: every turn is told apart and JPEG keeps patch middles.
Bgr patchColour(int x, int y) {
    const int i = (y / 16) * 4 + x / 16;
    return {(i * 97 + 20) % 256, (i * 57 + 200) % 256, (i * 151 + 90) % 256};
}

// Where stored pixel (x, y) of a w x h upright picture appears, by the EXIF definition of each
// orientation ("row 0 is the visual top/bottom/left/right, column 0 the visual ...").
std::pair<int, int> uprightPlace(int orientation, int w, int h, int x, int y) {
    switch (orientation) {
    case 2:
        return {w - 1 - x, y};
    case 3:
        return {w - 1 - x, h - 1 - y};
    case 4:
        return {x, h - 1 - y};
    case 5:
        return {y, x};
    case 6:
        return {w - 1 - y, x};
    case 7:
        return {w - 1 - y, h - 1 - x};
    case 8:
        return {y, h - 1 - x};
    default:
        return {x, y};
    }
}

Stored storedFor(int orientation, int w, int h) {
    const bool sideways = orientation >= 5;
    return {sideways ? h : w, sideways ? w : h, [=](int x, int y) {
                const auto [ux, uy] = uprightPlace(orientation, w, h, x, y);
                return patchColour(ux, uy);
            }};
}

std::string jpegOf(const Stored& s) {
    return test::encodeJpeg(
        s.width, s.height, JCS_EXT_BGR,
        [&](int x, int y, uint8_t* p) {
            const Bgr c = s.colour(x, y);
            std::copy(c.begin(), c.end(), p);
        },
        100, false, true);
}

Bytes rgbOf(const Stored& s) {
    Bytes samples;
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            const Bgr c = s.colour(x, y);
            samples.insert(samples.end(), {static_cast<uint8_t>(c[2]), static_cast<uint8_t>(c[1]),
                                           static_cast<uint8_t>(c[0])});
        }
    }
    return samples;
}

test::TiffPicture tiffOf(const Stored& s, uint16_t orientation = 1, Bytes profile = {}) {
    test::TiffPicture picture;
    picture.width = static_cast<uint32_t>(s.width);
    picture.height = static_cast<uint32_t>(s.height);
    picture.orientation = orientation;
    picture.rowsPerStrip = 7;
    picture.samples = rgbOf(s);
    picture.iccProfile = std::move(profile);
    return picture;
}

std::string pngOf(const Stored& s, Bytes profile = {}, const std::string& exif = {}) {
    test::PngPicture picture;
    picture.width = static_cast<uint32_t>(s.width);
    picture.height = static_cast<uint32_t>(s.height);
    const Bytes samples = rgbOf(s);
    for (int y = 0; y < s.height; ++y) {
        const auto row = samples.begin() + y * s.width * 3;
        picture.rows.emplace_back(row, row + s.width * 3);
    }
    picture.iccProfile = std::move(profile);
    picture.exif.assign(exif.begin(), exif.end());
    const Bytes png = test::buildPng(picture);
    return {png.begin(), png.end()};
}

Bytes pixels(const image::DibImage& image) {
    Bytes out;
    for (int32_t y = 0; y < image.height(); ++y) {
        out.insert(out.end(), image.row(y), image.row(y) + 3 * image.width());
    }
    return out;
}

void expectNear(const image::DibImage& got, const image::DibImage& want, int tolerance, int step) {
    ASSERT_EQ(got.width(), want.width());
    ASSERT_EQ(got.height(), want.height());
    for (int y = step / 2; y < got.height(); y += step) {
        for (int x = step / 2; x < got.width(); x += step) {
            for (int c = 0; c < 3; ++c) {
                ASSERT_NEAR(bgrAt(got, x, y)[c], bgrAt(want, x, y)[c], tolerance) << x << "," << y;
            }
        }
    }
}

class Corrections : public test::DeviceFolderTest {
  protected:
    ~Corrections() override { setPictureCorrections({}); }

    std::unique_ptr<image::LoadedImage> picture(const std::string& name, bool corrected = true) {
        setPictureCorrections({corrected, corrected});
        auto picture = std::make_unique<image::LoadedImage>();
        EXPECT_TRUE(loadImage(*picture, devicePath(name))) << name;
        return picture;
    }
    // Little CMS's jpgicc or tificc: the embedded profile to sRGB, perceptual intent.
    void runTool(const std::string& tool, const std::string& in, const std::string& out) {
        const std::string command = tool + (tool == "jpgicc" ? " -q100" : "") + " -t0 '" +
                                    (dir.path() / in).string() + "' '" +
                                    (dir.path() / out).string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
};

TEST_F(Corrections, EveryStoredOrientationGivesTheUprightPicture) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const Stored stored = storedFor(orientation, 32, 48);
        const std::string exif = test::exifTiff(static_cast<uint16_t>(orientation));
        put("o.jpg", test::withSegment(jpegOf(stored), 0xE1, test::exifApp1(exif)));
        put("o.png", pngOf(stored, {}, exif));
        ASSERT_TRUE(test::writeTiff(dir.path() / "o.tif",
                                    tiffOf(stored, static_cast<uint16_t>(orientation))));
        for (const std::string name : {"o.jpg", "o.png", "o.tif"}) {
            const auto shown = picture(name);
            ASSERT_EQ(shown->width(), 32);
            ASSERT_EQ(shown->height(), 48);
            // Every pixel of the lossless files, the middle of every patch of the JPEG.
            const int step = name == "o.jpg" ? 16 : 1;
            for (int y = step / 2; y < 48; y += step) {
                for (int x = step / 2; x < 32; x += step) {
                    for (int c = 0; c < 3; ++c) {
                        ASSERT_NEAR(bgrAt(*shown, x, y)[c], patchColour(x, y)[c], step == 1 ? 0 : 3)
                            << name << " " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST_F(Corrections, MalformedExifIsIgnored) {
    const std::string good = test::exifTiff(6);
    std::string looping = good; // the next directory is the first one again
    looping.replace(good.size() - 4, 4, std::string("\x08\0\0\0", 4));
    std::string wrongType = good;
    wrongType[10] = 4; // LONG instead of SHORT
    const struct {
        const char* name;
        std::string tiff;
        int orientation;
    } cases[] = {
        {"well formed", good, 6},
        {"next directory is itself", looping, 6},
        {"cut inside the entry", good.substr(0, 14), 1},
        {"directory far outside", std::string("II*\0\0\xFF\xFF\xFF", 8) + good.substr(8), 1},
        {"sub-directory points back",
         std::string("II*\0\x08\0\0\0\x01\0\x69\x87\x04\0\x01\0\0\0\x08\0\0\0\0\0\0\0", 26), 1},
        {"value out of range", test::exifTiff(9), 1},
        {"value of the wrong type", wrongType, 1},
    };
    put("plain.jpg", jpegOf(storedFor(1, 32, 48)));
    const Bytes plain = pixels(*picture("plain.jpg"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string app1 = test::exifApp1(c.tiff);
        EXPECT_EQ(exifOrientation({reinterpret_cast<const uint8_t*>(app1.data()), app1.size()}),
                  c.orientation);
        put("bad.jpg", test::withSegment(jpegOf(storedFor(1, 32, 48)), 0xE1, app1));
        EXPECT_EQ(pixels(*picture("bad.jpg")) == plain, c.orientation == 1);
    }
}

// Each profile converts to within 1 level of tificc given the same pixels and profile: every
// pixel of TIFF and PNG, and of a JPEG the pixels the reader decodes. jpgicc codes its result
// as a JPEG again (quality 100, full chroma): the reader's result coded the same way decodes
// to within 1 level of it in every pixel. The 16 x 16 patches are flat, so every block holds
// only its mean and both decoders give the same pixels whatever their DCT.
TEST_F(Corrections, EmbeddedProfilesConvertAsLittleCmsToolsDo) {
    const Stored palette = storedFor(1, 64, 64);
    for (const auto& [name, profile] : {std::pair{"Display P3", test::displayP3Profile()},
                                        std::pair{"Adobe RGB", test::adobeRgbProfile()}}) {
        SCOPED_TRACE(name);
        put("p.jpg", test::withSegment(jpegOf(palette), 0xE2, test::iccApp2(profile)));
        put("p.png", pngOf(palette, profile));
        ASSERT_TRUE(test::writeTiff(dir.path() / "p.tif", tiffOf(palette, 1, profile)));
        const auto stored = picture("p.jpg", false);
        const Stored decoded{64, 64, [&](int x, int y) { return bgrAt(*stored, x, y); }};
        ASSERT_TRUE(test::writeTiff(dir.path() / "d.tif", tiffOf(decoded, 1, profile)));
        runTool("tificc", "p.tif", "p-tificc.tif");
        runTool("tificc", "d.tif", "d-tificc.tif");
        runTool("jpgicc", "p.jpg", "p-jpgicc.jpg");
        const auto fromTificc = picture("p-tificc.tif", false);
        const auto jpegFromTificc = picture("d-tificc.tif", false);
        const auto fromJpgicc = picture("p-jpgicc.jpg", false);
        expectNear(*picture("p.tif"), *fromTificc, 1, 1);
        expectNear(*picture("p.png"), *fromTificc, 1, 1);
        const auto jpeg = picture("p.jpg");
        expectNear(*jpeg, *jpegFromTificc, 1, 1);
        put("p-coded.jpg", jpegOf({64, 64, [&](int x, int y) { return bgrAt(*jpeg, x, y); }}));
        expectNear(*picture("p-coded.jpg", false), *fromJpgicc, 1, 1);
        EXPECT_NE(pixels(*jpeg), pixels(*stored));
    }
}

// A CMYK JPEG (inks inverted, as libjpeg and Adobe's programs write them) converts through its
// profile as tificc converts the same inks; a PNG gAMA near 1/2.2 changes nothing, as libpng
// takes it, and a linear one converts as its profile does.
TEST_F(Corrections, CmykAndPngGammaConvertAsLittleCmsToolsDo) {
    // Flat 16 x 16 patches of inks at quality 100 decode to exactly the inks coded.
    const auto ink = [](int x, int y, int i) {
        return i < 3 ? patchColour(x, y)[i] : 255 - (y / 16) * 50;
    };
    const std::string cmyk = test::encodeJpeg(
        64, 64, JCS_CMYK,
        [&](int x, int y, uint8_t* p) {
            for (int i = 0; i < 4; ++i) {
                p[i] = static_cast<uint8_t>(ink(x, y, i));
            }
        },
        100);
    test::TiffPicture inks = tiffOf(storedFor(1, 64, 64), 1, test::cmykProfile());
    inks.samplesPerPixel = 4;
    inks.photometric = PHOTOMETRIC_SEPARATED;
    inks.samples.clear();
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            for (int i = 0; i < 4; ++i) {
                inks.samples.push_back(static_cast<uint8_t>(255 - ink(x, y, i)));
            }
        }
    }
    ASSERT_TRUE(test::writeTiff(dir.path() / "k.tif", inks));
    runTool("tificc", "k.tif", "k-tificc.tif");
    put("k.jpg", test::withSegment(cmyk, 0xE2, test::iccApp2(inks.iccProfile)));
    expectNear(*picture("k.jpg"), *picture("k-tificc.tif", false), 1, 1);

    test::PngPicture png;
    png.width = 64;
    png.height = 64;
    const Bytes samples = rgbOf(storedFor(1, 64, 64));
    for (int y = 0; y < 64; ++y) {
        png.rows.emplace_back(samples.begin() + y * 192, samples.begin() + (y + 1) * 192);
    }
    for (const double gamma : {0.45455, 1.0}) {
        png.fileGamma = gamma;
        const Bytes bytes = test::buildPng(png);
        put(gamma == 1.0 ? "linear.png" : "screen.png", {bytes.begin(), bytes.end()});
    }
    put("plain.png", pngOf(storedFor(1, 64, 64)));
    ASSERT_TRUE(
        test::writeTiff(dir.path() / "linear.tif",
                        tiffOf(storedFor(1, 64, 64), 1,
                               test::rgbProfile({0.64, 0.33, 0.30, 0.60, 0.15, 0.06}, 1.0))));
    runTool("tificc", "linear.tif", "linear-tificc.tif");
    EXPECT_EQ(pixels(*picture("screen.png")), pixels(*picture("plain.png")));
    expectNear(*picture("linear.png"), *picture("linear-tificc.tif", false), 1, 1);
}

// Switched off, or with a profile that cannot be used, a file decodes exactly as without notes
// (a TIFF keeps its Orientation tag: off, it reads as it always has).
TEST_F(Corrections, OffOrUnusableNotesLeaveTheStoredPixels) {
    const Stored stored = storedFor(6, 32, 48);
    const std::string exif = test::exifTiff(6);
    const Bytes p3 = test::displayP3Profile();
    put("plain.jpg", jpegOf(stored));
    put("noted.jpg", test::withSegment(test::withSegment(jpegOf(stored), 0xE2, test::iccApp2(p3)),
                                       0xE1, test::exifApp1(exif)));
    put("plain.png", pngOf(stored));
    put("noted.png", pngOf(stored, p3, exif));
    ASSERT_TRUE(test::writeTiff(dir.path() / "plain.tif", tiffOf(stored, 6)));
    ASSERT_TRUE(test::writeTiff(dir.path() / "noted.tif", tiffOf(stored, 6, p3)));
    for (const std::string format : {".jpg", ".png", ".tif"}) {
        EXPECT_EQ(pixels(*picture("noted" + format, false)),
                  pixels(*picture("plain" + format, false)))
            << format;
    }
    const Bytes halfProfile(p3.begin(), p3.begin() + p3.size() / 2);
    for (const Bytes& broken : {halfProfile, Bytes(600, 0x5A)}) {
        put("broken.jpg", test::withSegment(jpegOf(stored), 0xE2, test::iccApp2(broken)));
        EXPECT_EQ(pixels(*picture("broken.jpg")), pixels(*picture("plain.jpg")));
    }
}

// The look-ahead worker and the interface thread decode at the same time and share the cached
// transform of a profile; each picture comes out as when decoded alone.
TEST_F(Corrections, DecodesOnSeveralThreadsShareTransformsSafely) {
    const Stored palette = storedFor(6, 32, 48);
    put("a.jpg", test::withSegment(jpegOf(palette), 0xE2, test::iccApp2(test::displayP3Profile())));
    put("b.png", pngOf(palette, test::adobeRgbProfile(), test::exifTiff(6)));
    const std::vector<std::string> files{"a.jpg", "a.jpg", "b.png", "a.jpg"};
    const test::DecodeFromBytes decode = [](image::DibImage& image, const std::string& name) {
        return static_cast<bool>(name.ends_with(".jpg") ? loadJpeg(image, devicePath(name))
                                                        : loadPng(image, devicePath(name)));
    };
    std::vector<image::DibImage> together(files.size());
    EXPECT_EQ(test::decodeConcurrently(together, files, decode, 3), std::vector<int>(4, 3));
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(pixels(together[i]), pixels(*picture(files[i]))) << i;
    }
}

// Pictures large enough to be converted while they decode come out as the stored pixels
// converted row by row after decoding.
TEST_F(Corrections, ConversionDuringDecodeEqualsRowByRow) {
    const auto transform = transformFromProfile(test::displayP3Profile(), PixelLayout::Bgr);
    ASSERT_NE(transform, nullptr);
    const Stored large{1601, 1251, [](int x, int y) {
                           return Bgr{(x * 7 + y) % 256, (y * 13) % 256, (x ^ y) % 256};
                       }};
    put("large.jpg",
        test::withSegment(jpegOf(large), 0xE2, test::iccApp2(test::displayP3Profile())));
    put("large.png", pngOf(large, test::displayP3Profile()));
    for (const std::string name : {"large.jpg", "large.png"}) {
        SCOPED_TRACE(name);
        const auto rowByRow = picture(name, false);
        for (int32_t y = 0; y < rowByRow->height(); ++y) {
            transform->convert(rowByRow->row(y), rowByRow->row(y), 1601);
        }
        const auto converted = picture(name);
        EXPECT_EQ(pixels(*converted), pixels(*rowByRow));
        EXPECT_NE(pixels(*converted), pixels(*picture(name, false)));
    }
}

} // namespace
} // namespace velmora::codecs
