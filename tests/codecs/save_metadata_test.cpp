// What a save keeps of the file a picture came from: its metadata in JPEG and PNG files, and
// JPEG turns made on the file's own data where its size allows.
#include "camera_exif.h"
#include "codecs/corrections/colour_profile.h"
#include "codecs/corrections/picture_corrections.h"
#include "codecs/load_image.h"
#include "codecs/readers.h"
#include "device_folder_fixture.h"
#include "edit/transform.h"
#include "image/loaded_image.h"
#include "jpeg_builder.h"
#include "picture_notes.h"
#include "png_builder.h"
#include "reference_decoder.h"
#include "tiff_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace velmora::codecs {
namespace {

using Bytes = std::vector<uint8_t>;
using image::TurnStep;

constexpr char kXmp[] = "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF/></x:xmpmeta>";
constexpr char kComment[] = "taken on the pier";

// Gradients that run differently in each channel, so that every turn shows.
std::string stripedJpeg(int width, int height) {
    return test::encodeJpeg(width, height, JCS_EXT_BGR, [](int x, int y, uint8_t* p) {
        p[0] = static_cast<uint8_t>(x * 7 + y);
        p[1] = static_cast<uint8_t>(y * 5);
        p[2] = static_cast<uint8_t>((x + 2 * y) * 3);
    });
}

Bytes bytesOf(const image::DibImage& picture) {
    Bytes bytes;
    for (int32_t y = 0; y < picture.height(); ++y) {
        bytes.insert(bytes.end(), picture.row(y), picture.row(y) + 3 * picture.width());
    }
    return bytes;
}

// Mean difference of the bytes of columns from to to (exclusive) of two pictures of one size.
double meanDifference(const image::DibImage& a, const image::DibImage& b, int32_t from,
                      int32_t to) {
    double sum = 0;
    for (int32_t y = 0; y < a.height(); ++y) {
        for (int32_t i = 3 * from; i < 3 * to; ++i) {
            sum += std::abs(a.row(y)[i] - b.row(y)[i]);
        }
    }
    return sum / (3.0 * (to - from) * a.height());
}

class SaveKeeps : public test::DeviceFolderTest {
  protected:
    ~SaveKeeps() override { setPictureCorrections({}); }

    // Loads the file, runs the steps on it as the edit commands do, and saves it as JPEG.
    image::LoadedImage& loadTurnAndSave(const std::string& name, std::vector<TurnStep> steps,
                                        const std::string& saved, bool grey = false,
                                        SaveExtras extras = {}) {
        EXPECT_TRUE(loadImage(picture, devicePath(name)));
        image::Turn turns;
        for (const TurnStep step : steps) {
            EXPECT_TRUE(edit::applyTurn(picture, step));
            turns = turns.then(step);
        }
        if (grey) {
            edit::flipVertical(picture); // any edit beside the turns
            picture.turnsSinceLoad.reset();
        } else if (!steps.empty()) {
            picture.turnsSinceLoad = turns;
        }
        EXPECT_TRUE(saveLoadedPicture(picture, devicePath(saved), 0, 99, extras));
        return picture;
    }

    image::LoadedImage picture;
};

TEST_F(SaveKeeps, JpegMetadataWithTheOrientationAndSizeOfTheSavedPicture) {
    struct Case {
        const char* name;
        int width, height; // stored, orientation 6
        bool colourProfiles;
        bool otherEdit;
        bool sourceProfileKept; // else the output profile the pixels were converted to
        SaveExtras extras = {};
    };
    const Case cases[] = {
        {"turned losslessly", 64, 32, true, false, true},
        {"encoded, colours converted", 60, 36, true, false, false},
        {"encoded, colours as stored", 60, 36, false, false, true},
        {"encoded after another edit", 64, 32, false, true, true},
        {"encoded, lossless turns switched off", 64, 32, true, false, false, {true, false}},
        // Turned losslessly: the data's profile stays, as it gives the data its colours.
        {"nothing else kept when switched off", 64, 32, true, false, true, {false, true}},
    };
    const Bytes profile = test::adobeRgbProfile();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setPictureCorrections({true, c.colourProfiles});
        std::string jpeg = stripedJpeg(c.width, c.height);
        jpeg = test::withSegment(jpeg, 0xFE, kComment);
        jpeg = test::withSegment(jpeg, 0xE2, test::iccApp2(profile));
        jpeg =
            test::withSegment(jpeg, 0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) + kXmp);
        jpeg =
            test::withSegment(jpeg, 0xE1, test::exifApp1(test::cameraExif(6, c.width, c.height)));
        put("camera.jpg", jpeg);
        loadTurnAndSave("camera.jpg", {TurnStep::RotateRight}, "saved.jpg", c.otherEdit, c.extras);
        ASSERT_EQ(picture.width(), c.width); // upright (height x width), then turned back

        image::DibImage reread;
        image::PictureMetadata kept;
        ASSERT_TRUE(loadJpeg(reread, devicePath("saved.jpg"), &kept));
        ASSERT_EQ(reread.width(), picture.width());
        ASSERT_EQ(reread.height(), picture.height());
        // Upright on the screen and in the file, by either path.
        EXPECT_LT(meanDifference(reread, picture, 0, picture.width()), 8.0);
        EXPECT_EQ(kept.icc, c.sourceProfileKept ? profile : outputProfileBytes());
        if (!c.extras.keepMetadata) {
            EXPECT_TRUE(kept.exif.empty() && kept.xmp.empty() && kept.comments.empty());
            continue;
        }
        const test::ExifFacts facts = test::readExif(kept.exif);
        EXPECT_EQ(facts.orientation, 1);
        EXPECT_EQ(facts.dateTaken, test::kDateTaken);
        EXPECT_EQ(facts.latitudeRef, "N");
        EXPECT_EQ(facts.latitude, test::kLatitude);
        EXPECT_EQ(facts.pixelWidth, picture.width());
        EXPECT_EQ(facts.pixelHeight, picture.height());
        EXPECT_EQ(facts.thumbnailBytes, 0u);
        EXPECT_EQ(facts.thumbnailEntries, 0u);
        EXPECT_EQ(std::string(kept.xmp.begin(), kept.xmp.end()), kXmp);
        EXPECT_EQ(kept.comments, std::vector<std::string>{kComment});
    }
}

// The decoded pixels of a CMYK JPEG are red, green and blue: its ink profile is not theirs.
TEST_F(SaveKeeps, AnInkProfileIsNotWrittenOverEncodedPixels) {
    setPictureCorrections({true, false});
    const std::string inks = test::encodeJpeg(32, 32, JCS_CMYK, [](int x, int y, uint8_t* p) {
        p[0] = p[1] = static_cast<uint8_t>(8 * x);
        p[2] = p[3] = static_cast<uint8_t>(8 * y);
    });
    put("inks.jpg", test::withSegment(inks, 0xE2, test::iccApp2(test::cmykProfile())));
    loadTurnAndSave("inks.jpg", {}, "saved.jpg");
    image::DibImage reread;
    image::PictureMetadata kept;
    ASSERT_TRUE(loadJpeg(reread, devicePath("saved.jpg"), &kept));
    EXPECT_TRUE(kept.icc.empty());
}

TEST_F(SaveKeeps, PngTextAndProfile) {
    const Bytes profile = test::displayP3Profile();
    test::PngPicture stored{.width = 8, .height = 6, .iccProfile = profile};
    stored.rows.assign(6, std::vector<uint8_t>(24, 0x80));
    char title[] = "Title", titleText[] = "Harbour";
    char xmpKey[] = "XML:com.adobe.xmp", xmp[] = "<x:xmpmeta/>", empty[] = "";
    png_text title_{PNG_TEXT_COMPRESSION_zTXt, title, titleText, 7, 0, nullptr, nullptr};
    png_text xmp_{PNG_ITXT_COMPRESSION_NONE, xmpKey, xmp, 0, 12, empty, empty};
    stored.texts = {title_, xmp_};
    const Bytes png = test::buildPng(stored);
    put("noted.png", std::string(png.begin(), png.end()));
    for (const bool colourProfiles : {false, true}) {
        SCOPED_TRACE(colourProfiles);
        setPictureCorrections({true, colourProfiles});
        ASSERT_TRUE(loadImage(picture, devicePath("noted.png")));
        ASSERT_TRUE(saveLoadedPicture(picture, devicePath("saved.png"), 2, 0));
        image::DibImage reread;
        image::PictureMetadata kept;
        ASSERT_TRUE(loadPng(reread, devicePath("saved.png"), &kept));
        ASSERT_EQ(kept.texts.size(), 2u);
        EXPECT_EQ(kept.texts[0].keyword, "Title");
        EXPECT_EQ(kept.texts[0].text, "Harbour");
        EXPECT_TRUE(kept.texts[0].compressed);
        EXPECT_EQ(kept.texts[1].keyword, "XML:com.adobe.xmp");
        EXPECT_EQ(kept.texts[1].text, "<x:xmpmeta/>");
        EXPECT_TRUE(kept.texts[1].international);
        EXPECT_EQ(kept.icc, colourProfiles ? outputProfileBytes() : profile);
    }
}

TEST_F(SaveKeeps, JpegTurnsAreMadeOnTheFileWhereItsBlocksAllow) {
    enum class Expect { Source, Jpegtran, Screen };
    struct Case {
        const char* name;
        int width, height; // 4:2:0: blocks of 16 x 16
        std::vector<TurnStep> steps;
        Expect expect;
        const char* jpegtran; // its options, for Expect::Jpegtran
        bool fileChanged = false;
    };
    const std::vector<Case> cases = {
        {"four turns give the file back", 64, 48, std::vector(4, TurnStep::RotateRight),
         Expect::Source, nullptr},
        {"one turn", 64, 48, {TurnStep::RotateRight}, Expect::Jpegtran, "-rotate 90"},
        {"flip then turn",
         64,
         48,
         {TurnStep::FlipHorizontal, TurnStep::RotateRight},
         Expect::Jpegtran,
         "-transverse"},
        {"turn then flip",
         64,
         48,
         {TurnStep::RotateLeft, TurnStep::FlipVertical},
         Expect::Jpegtran,
         "-transpose"},
        {"partial blocks", 1001, 999, {TurnStep::RotateRight}, Expect::Screen, nullptr},
        {"file changed since it was read",
         64,
         48,
         {TurnStep::RotateRight},
         Expect::Screen,
         nullptr,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        put("source.jpg", stripedJpeg(c.width, c.height));
        ASSERT_TRUE(loadImage(picture, devicePath("source.jpg")));
        if (c.fileChanged) {
            put("source.jpg", stripedJpeg(c.width, c.height) + "  ");
        }
        image::Turn turns;
        for (const TurnStep step : c.steps) {
            ASSERT_TRUE(edit::applyTurn(picture, step));
            turns = turns.then(step);
        }
        picture.turnsSinceLoad = turns;
        ASSERT_TRUE(saveLoadedPicture(picture, devicePath("saved.jpg"), 0, 99));

        image::DibImage saved;
        ASSERT_TRUE(loadJpeg(saved, devicePath("saved.jpg")));
        ASSERT_EQ(saved.width(), picture.width());
        ASSERT_EQ(saved.height(), picture.height());
        image::DibImage reference;
        switch (c.expect) {
        case Expect::Source:
            ASSERT_TRUE(loadJpeg(reference, devicePath("source.jpg")));
            EXPECT_EQ(bytesOf(saved), bytesOf(reference));
            break;
        case Expect::Jpegtran: {
            const std::string command = "jpegtran -perfect " + std::string(c.jpegtran) + " " +
                                        (dir.path() / "source.jpg").string() + " > " +
                                        (dir.path() / "jpegtran.jpg").string();
            ASSERT_EQ(std::system(command.c_str()), 0);
            ASSERT_TRUE(loadJpeg(reference, devicePath("jpegtran.jpg")));
            EXPECT_EQ(bytesOf(saved), bytesOf(reference));
            break;
        }
        case Expect::Screen:
            // Encoded again at the quality: the shown picture with JPEG's small loss, also at
            // the edge where a turn of partial blocks would have garbled whole blocks.
            EXPECT_LT(meanDifference(saved, picture, 0, saved.width()), 8.0);
            EXPECT_LT(meanDifference(saved, picture, 0, 16), 8.0);
            break;
        }
    }
}

// Files of the other formats made from a camera JPEG (EXIF orientation 6, 64 x 32 stored) by
// their libraries' tools, which carry its EXIF, XMP and profile over; the TIFF written by
// libtiff, whose EXIF directory is not kept.
TEST_F(SaveKeeps, MetadataOfTheOtherFormatsGoesIntoAJpegSave) {
    using Maker = std::function<bool(const std::string& jpeg, const std::string& out)>;
    const auto tool = [](std::string command) {
        return [command](const std::string& jpeg, const std::string& out) {
            return test::runQuietly(command + " " + jpeg + " -o " + out);
        };
    };
    const Bytes profile = test::adobeRgbProfile();
    struct Case {
        const char* file;
        Maker make;
        bool exifKept;
        int width = 32; // upright; HEIF turns by its own properties only, which the tool leaves out
    };
    const Case cases[] = {
        {"camera.webp", tool("cwebp -quiet -metadata all"), true},
        {"camera.avif", tool("avifenc -s 10"), true},
        {"camera.heic", tool("heif-enc -q 90"), true, 64},
        {"camera.jxl",
         [](const std::string& jpeg, const std::string& out) {
             return test::runQuietly("cjxl " + jpeg + " " + out);
         },
         true},
        {"camera.tif",
         [&](const std::string&, const std::string& out) {
             test::TiffPicture tiff{.width = 64, .height = 32, .orientation = ORIENTATION_RIGHTTOP};
             tiff.samples.assign(size_t{64} * 32 * 3, 0x60);
             tiff.iccProfile = profile;
             tiff.xmp = kXmp;
             return test::writeTiff(out, tiff);
         },
         false},
    };
    std::string jpeg = stripedJpeg(64, 32);
    jpeg = test::withSegment(jpeg, 0xE2, test::iccApp2(profile));
    jpeg = test::withSegment(jpeg, 0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) + kXmp);
    jpeg = test::withSegment(jpeg, 0xE1, test::exifApp1(test::cameraExif(6, 64, 32)));
    put("camera.jpg", jpeg);
    for (const Case& c : cases) {
        ASSERT_TRUE(c.make((dir.path() / "camera.jpg").string(), (dir.path() / c.file).string()))
            << c.file;
        for (const bool colourProfiles : {false, true}) {
            SCOPED_TRACE(std::string(c.file) + (colourProfiles ? ", colours converted" : ""));
            setPictureCorrections({true, colourProfiles});
            ASSERT_TRUE(loadImage(picture, devicePath(c.file)));
            EXPECT_EQ(picture.width(), c.width);
            ASSERT_TRUE(saveLoadedPicture(picture, devicePath("saved.jpg"), 0, 90));

            image::DibImage reread;
            image::PictureMetadata kept;
            ASSERT_TRUE(loadJpeg(reread, devicePath("saved.jpg"), &kept));
            EXPECT_EQ(reread.width(), picture.width());
            EXPECT_EQ(kept.icc, colourProfiles ? outputProfileBytes() : profile);
            EXPECT_EQ(std::string(kept.xmp.begin(), kept.xmp.end()), kXmp);
            EXPECT_EQ(kept.exif.empty(), !c.exifKept);
            if (c.exifKept) {
                const test::ExifFacts facts = test::readExif(kept.exif);
                EXPECT_EQ(facts.orientation, 1);
                EXPECT_EQ(facts.dateTaken, test::kDateTaken);
                EXPECT_EQ(facts.latitude, test::kLatitude);
                EXPECT_EQ(facts.pixelWidth, picture.width());
            }
        }
    }
}

} // namespace
} // namespace velmora::codecs
