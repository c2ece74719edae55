// Transparency end to end: the readers fill the alpha plane, the geometric edits carry it, the
// saves keep it (PNG) or flatten over white (the rest), and the view draws it over the
// checkerboard; with the setting off, everything is as for a picture without a plane.
#include "codecs/gif/gif_decoder.h"
#include "codecs/load_image.h"
#include "codecs/png/png_decoder.h"
#include "codecs/readers.h"
#include "edit/transform.h"
#include "image/loaded_image.h"
#include "image/view_compose.h"

#include "device_folder_fixture.h"
#include "gif_builder.h"
#include "png_builder.h"
#include "tiff_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <span>

namespace velmora::codecs {
namespace {

using Plane = std::vector<std::vector<int>>; // [y][x]
using At = std::function<int(int, int)>;

constexpr int kW = 7;
constexpr int kH = 5;

Plane planeOf(int width, int height, const At& at) {
    Plane plane(height, std::vector<int>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            plane[y][x] = at(x, y);
        }
    }
    return plane;
}

Plane planeOf(const image::DibImage& image) {
    return planeOf(image.width(), image.height(),
                   [&](int x, int y) { return image.hasAlpha() ? image.alphaRow(y)[x] : 255; });
}

// The alpha each test picture holds: varied for RGBA and grey with alpha, by palette index
// (entry i with tRNS alpha kTrns[i]) for a palette picture.
constexpr uint8_t kTrns[4] = {0, 80, 200, 255};
int alphaAt(int colorType, int x, int y) {
    return colorType == PNG_COLOR_TYPE_PALETTE ? kTrns[(x + 2 * y) % 4] : (x * 41 + y * 67) % 256;
}

test::PngPicture transparentPng(int colorType, bool interlaced) {
    test::PngPicture png;
    png.width = kW;
    png.height = kH;
    png.colorType = colorType;
    png.interlaced = interlaced;
    png.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
    png.paletteAlpha.assign(std::begin(kTrns), std::end(kTrns));
    for (int y = 0; y < kH; ++y) {
        std::vector<uint8_t>& row = png.rows.emplace_back();
        for (int x = 0; x < kW; ++x) {
            const auto a = static_cast<uint8_t>(alphaAt(colorType, x, y));
            if (colorType == PNG_COLOR_TYPE_RGB_ALPHA) {
                row.insert(row.end(), {uint8_t(30 * x), 0, uint8_t(40 * y), a});
            } else if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
                row.insert(row.end(), {uint8_t(20 * x + y), a});
            } else {
                row.push_back(static_cast<uint8_t>((x + 2 * y) % 4));
            }
        }
    }
    if (colorType != PNG_COLOR_TYPE_PALETTE) {
        png.palette.clear();
        png.paletteAlpha.clear();
    }
    return png;
}

// Resizing resamples the alpha as the colours: a grey picture whose colours are the alpha,
// resized, gives the expected plane.
Plane greyResized(const Plane& alpha, int width, int height) {
    image::DibImage grey;
    EXPECT_TRUE(grey.create(kW, kH));
    for (int i = 0; i < kW * kH; ++i) {
        std::memset(grey.row(i / kW) + 3 * (i % kW), alpha[i / kW][i % kW], 3);
    }
    EXPECT_TRUE(edit::resize(grey, width, height));
    return planeOf(width, height, [&](int x, int y) { return grey.row(y)[3 * x]; });
}

// Each edit with the independent rule of where an alpha value goes.
struct GeometricEdit {
    const char* name;
    std::function<edit::EditResult(image::DibImage&)> apply;
    std::function<Plane(const Plane&)> expected;
};

std::vector<GeometricEdit> geometricEdits() {
    using image::TurnStep;
    const auto moved = [](int width, int height, std::function<int(const Plane&, int, int)> from) {
        return [=](const Plane& p) {
            return planeOf(width, height, [&](int x, int y) { return from(p, x, y); });
        };
    };
    return {
        {"rotate right", [](auto& i) { return edit::rotateRight(i); },
         moved(kH, kW, [](auto& p, int x, int y) { return p[kH - 1 - x][y]; })},
        {"rotate left", [](auto& i) { return edit::rotateLeft(i); },
         moved(kH, kW, [](auto& p, int x, int y) { return p[x][kW - 1 - y]; })},
        {"flip horizontal", [](auto& i) { return edit::applyTurn(i, TurnStep::FlipHorizontal); },
         moved(kW, kH, [](auto& p, int x, int y) { return p[y][kW - 1 - x]; })},
        {"flip vertical", [](auto& i) { return edit::applyTurn(i, TurnStep::FlipVertical); },
         moved(kW, kH, [](auto& p, int x, int y) { return p[kH - 1 - y][x]; })},
        {"trim",
         [](auto& i) {
             return edit::trim(i, {2, 1, 4, 3});
         },
         moved(4, 3, [](auto& p, int x, int y) { return p[y + 1][x + 2]; })},
        {"enlarge", [](auto& i) { return edit::resize(i, 17, 11); },
         [](const Plane& p) { return greyResized(p, 17, 11); }},
        {"reduce", [](auto& i) { return edit::resize(i, 3, 2); },
         [](const Plane& p) { return greyResized(p, 3, 2); }},
    };
}

std::span<const uint8_t> bytesOf(const std::vector<uint8_t>& file) {
    return {file.data(), file.size()};
}

TEST(Alpha, PngReadersFillThePlaneAndEditsCarryIt) {
    for (const auto& [colorType, interlaced] :
         {std::pair{PNG_COLOR_TYPE_RGB_ALPHA, false}, std::pair{PNG_COLOR_TYPE_RGB_ALPHA, true},
          std::pair{PNG_COLOR_TYPE_GRAY_ALPHA, false}, std::pair{PNG_COLOR_TYPE_PALETTE, false}}) {
        SCOPED_TRACE(testing::Message()
                     << "colour type " << colorType << " interlaced " << interlaced);
        const std::vector<uint8_t> file = test::buildPng(transparentPng(colorType, interlaced));
        const Plane alpha = planeOf(kW, kH, [&](int x, int y) { return alphaAt(colorType, x, y); });
        for (const GeometricEdit& edit : geometricEdits()) {
            SCOPED_TRACE(edit.name);
            image::DibImage picture;
            ASSERT_EQ(decodePngMemory(bytesOf(file), picture), PngDecodeResult::Ok);
            EXPECT_EQ(planeOf(picture), alpha);
            ASSERT_TRUE(edit.apply(picture));
            EXPECT_EQ(planeOf(picture), edit.expected(alpha));
        }
    }
}

class AlphaFiles : public test::DeviceFolderTest {};

std::span<const uint8_t> bytesOf(const std::string& file) {
    return {reinterpret_cast<const uint8_t*>(file.data()), file.size()};
}

// Each reader gives the file's alpha in the plane; an opaque file gives no plane at all.
TEST_F(AlphaFiles, ReadersKeepTransparencyOnlyWhereTheFileHasIt) {
    const auto palette = test::gifTestPalette(4);
    const test::GifFrame frame{.width = 3, .height = 2, .indices = {0, 1, 2, 3, 2, 1}};
    const std::string transparentGif =
        test::GifBuilder()
            .screen(3, 2, palette)
            .raw(std::string("\x21\xF9\x04\x01\x00\x00\x02\x00", 8)) // transparent index 2
            .frame(frame)
            .trailer()
            .bytes();
    const std::string opaqueGif =
        test::GifBuilder().screen(3, 2, palette).graphicControl().frame(frame).trailer().bytes();
    test::TiffPicture tiff{.width = 3, .height = 2, .samplesPerPixel = 4};
    tiff.samples = {10, 20, 30, 255, 10, 20, 30, 0,   100, 50, 0, 128,
                    0,  0,  0,  64,  40, 40, 40, 255, 7,   7,  7, 7};
    tiff.extraSample = EXTRASAMPLE_UNASSALPHA;
    ASSERT_TRUE(test::writeTiff(dir.path() / "a.tif", tiff));
    struct Case {
        const char* name;
        std::function<LoadResult(image::DibImage&)> read;
        Plane alpha; // empty: no plane
    };
    const std::vector<Case> cases = {
        {"gif transparent index",
         [&](auto& i) { return gif::decodeGif(i, bytesOf(transparentGif)); },
         {{255, 255, 0}, {255, 0, 255}}},
        {"gif without transparency",
         [&](auto& i) { return gif::decodeGif(i, bytesOf(opaqueGif)); },
         {}},
        {"tiff unassociated alpha",
         [&](auto& i) { return loadTiff(i, u"\\a.tif"); },
         {{255, 0, 128}, {64, 255, 7}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        image::DibImage picture;
        ASSERT_TRUE(c.read(picture));
        ASSERT_EQ(picture.hasAlpha(), !c.alpha.empty());
        if (picture.hasAlpha()) {
            EXPECT_EQ(planeOf(picture), c.alpha);
        }
    }
}

// Saving with alpha kept: a PNG keeps every alpha value and the colours under them through
// open and save, the other types get the picture over white. Off, every type writes exactly what
// the picture without its plane gives.
TEST_F(AlphaFiles, SavesKeepOrFlattenTheAlphaAndIgnoreItWhenOff) {
    image::LoadedImage picture;
    ASSERT_TRUE(picture.create(16, 16) && picture.createAlpha());
    for (int i = 0; i < 256; ++i) {
        const uint8_t bgr[3] = {uint8_t(i * 7), uint8_t(i / 16 * 16), 200};
        std::memcpy(picture.row(i / 16) + 3 * (i % 16), bgr, 3);
        picture.alphaRow(i / 16)[i % 16] = static_cast<uint8_t>(i);
    }
    image::LoadedImage first;
    image::LoadedImage again;
    ASSERT_TRUE(saveLoadedPicture(picture, u"\\first.png", kPngTypeIndex, 0, {}));
    ASSERT_TRUE(loadImage(first, u"\\first.png"));
    ASSERT_TRUE(saveLoadedPicture(first, u"\\again.png", kPngTypeIndex, 0, {}));
    ASSERT_TRUE(loadImage(again, u"\\again.png"));
    EXPECT_EQ(planeOf(again), planeOf(picture));
    for (int y = 0; y < 16; ++y) {
        EXPECT_EQ(std::memcmp(again.row(y), picture.row(y), 3 * 16), 0);
    }

    image::LoadedImage opaque;
    ASSERT_TRUE(opaque.create(16, 16));
    opaque.copyFrom(0, 0, picture);
    for (int type : {0, 1, kPngTypeIndex, 3}) {
        SCOPED_TRACE(type);
        ASSERT_TRUE(saveLoadedPicture(picture, u"\\off", type, 80, {.keepAlpha = false}));
        ASSERT_TRUE(saveLoadedPicture(opaque, u"\\plain", type, 80, {.keepAlpha = false}));
        EXPECT_EQ(contents("off"), contents("plain"));
    }

    ASSERT_TRUE(saveLoadedPicture(picture, u"\\flat.bmp", 1, 0, {}));
    image::DibImage flat;
    ASSERT_TRUE(loadBmp(flat, u"\\flat.bmp"));
    EXPECT_FALSE(flat.hasAlpha());
    for (int i = 0; i < 3 * 256; ++i) {
        const double c = picture.row(i / 48)[i % 48];
        const double a = i / 3;
        EXPECT_EQ(flat.row(i / 48)[i % 48], std::lround((c * a + 255 * (255 - a)) / 255));
    }
}

// The view: transparent parts show the checkerboard at fixed surface positions whatever the
// zoom and path; a half-transparent red blends with it; with the setting off (or no plane) the
// surface is exactly the stored colours' view.
TEST(AlphaView, TransparencyOverTheCheckerboardFixedOnTheSurface) {
    image::DibImage clear;
    ASSERT_TRUE(clear.create(64, 48) && clear.createAlpha());
    clear.fillColor(0x00FF00);
    std::memset(clear.alphaRow(0), 0, 64 * 48);
    const auto checker = [](int x, int y) { return ((x / 8 + y / 8) % 2) == 0 ? 238 : 204; };
    image::DibImage opaque;
    ASSERT_TRUE(opaque.create(64, 48));
    opaque.copyFrom(0, 0, clear);
    image::DibImage surface;
    image::DibImage expected;
    ASSERT_TRUE(surface.create(100, 80) && expected.create(100, 80));
    // Original size (copy), enlarged (stretch) and reduced (smooth).
    for (const image::ViewState s :
         {image::ViewState{64, 48, 3, 5, 0, 0}, image::ViewState{160, 120, -20, 0, 0, 0},
          image::ViewState{30, 22, 11, 9, 0, 0}}) {
        const bool smooth = s.displayWidth < 64;
        SCOPED_TRACE(s.displayWidth);
        compose(surface, clear, s, smooth, true);
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 100; ++x) {
                const bool inside = x >= s.originX && x < s.originX + s.displayWidth &&
                                    y >= s.originY && y < s.originY + s.displayHeight;
                const int k = inside ? checker(x, y) : 0;
                ASSERT_EQ(test::bgrAt(surface, x, y), (test::Bgr{k, k, k})) << x << "," << y;
            }
        }
        compose(surface, clear, s, smooth, false);
        compose(expected, opaque, s, smooth, true);
        EXPECT_EQ(std::memcmp(surface.bits(), expected.bits(), size_t(surface.stride()) * 80), 0);
    }
    image::DibImage red;
    ASSERT_TRUE(red.create(16, 16) && red.createAlpha());
    red.fillColor(0x0000FF);
    std::memset(red.alphaRow(0), 128, 16 * 16);
    compose(surface, red, {16, 16, 0, 0, 0, 0}, true, true);
    for (const auto& [x, y] : {std::pair{1, 1}, std::pair{9, 2}}) {
        const int under = static_cast<int>(std::lround(127.0 * checker(x, y) / 255));
        EXPECT_EQ(test::bgrAt(surface, x, y), (test::Bgr{under, under, 128 + under}));
    }
}

} // namespace
} // namespace velmora::codecs
