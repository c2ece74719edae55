// Transparency end to end: the readers fill the alpha plane, the geometric edits carry it, the
// saves keep it (PNG) or flatten over white (the rest), and the view draws it over the
// checkerboard; with the setting off, everything is as for a picture without a plane.
#include "codecs/gif/gif_decoder.h"
#include "codecs/load_image.h"
#include "codecs/png/png_decoder.h"
#include "codecs/readers.h"
#include "edit/transform.h"
#include "image/checker_compose.h"
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

constexpr int kW = 7;
constexpr int kH = 5;

Plane planeOf(const image::DibImage& image) {
    Plane plane(image.height(), std::vector<int>(image.width(), 255));
    for (int y = 0; y < image.height() && image.hasAlpha(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            plane[y][x] = image.alphaRow(y)[x];
        }
    }
    return plane;
}

// Pictures with transparency of each kind the PNG reader meets, and the alpha each one holds.
struct TransparentPng {
    const char* name;
    test::PngPicture picture;
    Plane alpha;
};

std::vector<TransparentPng> transparentPngs() {
    std::vector<TransparentPng> made;
    Plane varied(kH, std::vector<int>(kW));
    test::PngPicture rgba;
    rgba.width = kW;
    rgba.height = kH;
    rgba.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    test::PngPicture grey = rgba;
    grey.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    for (int y = 0; y < kH; ++y) {
        rgba.rows.emplace_back();
        grey.rows.emplace_back();
        for (int x = 0; x < kW; ++x) {
            varied[y][x] = (x * 41 + y * 67) % 256;
            const auto a = static_cast<uint8_t>(varied[y][x]);
            rgba.rows[y].insert(rgba.rows[y].end(), {uint8_t(30 * x), 0, uint8_t(40 * y), a});
            grey.rows[y].insert(grey.rows[y].end(), {uint8_t(20 * x + y), a});
        }
    }
    test::PngPicture interlaced = rgba;
    interlaced.interlaced = true;
    made.push_back({"rgba", rgba, varied});
    made.push_back({"interlaced rgba", interlaced, varied});
    made.push_back({"grey and alpha", grey, varied});
    // A palette with a transparency chunk: entry i has alpha kTrns[i].
    static constexpr uint8_t kTrns[4] = {0, 80, 200, 255};
    test::PngPicture palette = rgba;
    palette.rows.clear();
    palette.colorType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
    palette.paletteAlpha.assign(std::begin(kTrns), std::end(kTrns));
    Plane paletteAlpha(kH, std::vector<int>(kW));
    for (int y = 0; y < kH; ++y) {
        palette.rows.emplace_back();
        for (int x = 0; x < kW; ++x) {
            palette.rows[y].push_back(static_cast<uint8_t>((x + 2 * y) % 4));
            paletteAlpha[y][x] = kTrns[(x + 2 * y) % 4];
        }
    }
    made.push_back({"palette with tRNS", palette, paletteAlpha});
    return made;
}

std::span<const uint8_t> bytesOf(const std::vector<uint8_t>& file) {
    return {file.data(), file.size()};
}

// Each edit with the independent rule of where an alpha value goes. Resizing must resample the
// alpha as the colours are: a grey picture whose colours are the alpha gives the expected plane.
struct GeometricEdit {
    const char* name;
    std::function<edit::EditResult(image::DibImage&)> apply;
    std::function<Plane(const Plane&)> expected;
};

Plane greyResized(const Plane& alpha, int width, int height) {
    image::DibImage grey;
    EXPECT_TRUE(grey.create(static_cast<int>(alpha[0].size()), static_cast<int>(alpha.size())));
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x) {
            std::memset(grey.row(y) + 3 * x, alpha[y][x], 3);
        }
    }
    EXPECT_TRUE(edit::resize(grey, width, height));
    Plane out(height, std::vector<int>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out[y][x] = grey.row(y)[3 * x];
        }
    }
    return out;
}

Plane mapped(const Plane& p, int width, int height, const std::function<int(int, int)>& at) {
    Plane out(height, std::vector<int>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out[y][x] = at(x, y);
        }
    }
    return out;
}

std::vector<GeometricEdit> geometricEdits() {
    using image::TurnStep;
    return {
        {"rotate right", [](auto& i) { return edit::rotateRight(i); },
         [](const Plane& p) {
             return mapped(p, kH, kW, [&](int x, int y) { return p[kH - 1 - x][y]; });
         }},
        {"rotate left", [](auto& i) { return edit::rotateLeft(i); },
         [](const Plane& p) {
             return mapped(p, kH, kW, [&](int x, int y) { return p[x][kW - 1 - y]; });
         }},
        {"flip horizontal", [](auto& i) { return edit::applyTurn(i, TurnStep::FlipHorizontal); },
         [](const Plane& p) {
             return mapped(p, kW, kH, [&](int x, int y) { return p[y][kW - 1 - x]; });
         }},
        {"flip vertical", [](auto& i) { return edit::applyTurn(i, TurnStep::FlipVertical); },
         [](const Plane& p) {
             return mapped(p, kW, kH, [&](int x, int y) { return p[kH - 1 - y][x]; });
         }},
        {"trim",
         [](auto& i) {
             return edit::trim(i, {2, 1, 4, 3});
         },
         [](const Plane& p) {
             return mapped(p, 4, 3, [&](int x, int y) { return p[y + 1][x + 2]; });
         }},
        {"enlarge", [](auto& i) { return edit::resize(i, 17, 11); },
         [](const Plane& p) { return greyResized(p, 17, 11); }},
        {"reduce", [](auto& i) { return edit::resize(i, 3, 2); },
         [](const Plane& p) { return greyResized(p, 3, 2); }},
    };
}

TEST(Alpha, PngReadersFillThePlaneAndEditsCarryIt) {
    for (const TransparentPng& png : transparentPngs()) {
        SCOPED_TRACE(png.name);
        const std::vector<uint8_t> file = test::buildPng(png.picture);
        image::DibImage read;
        ASSERT_EQ(decodePngMemory(bytesOf(file), read), PngDecodeResult::Ok);
        ASSERT_TRUE(read.hasAlpha());
        EXPECT_EQ(planeOf(read), png.alpha);
        for (const GeometricEdit& edit : geometricEdits()) {
            SCOPED_TRACE(edit.name);
            image::DibImage picture;
            ASSERT_EQ(decodePngMemory(bytesOf(file), picture), PngDecodeResult::Ok);
            ASSERT_TRUE(edit.apply(picture));
            ASSERT_TRUE(picture.hasAlpha());
            EXPECT_EQ(planeOf(picture), edit.expected(png.alpha));
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
    test::GifFrame frame;
    frame.width = 3;
    frame.height = 2;
    frame.indices = {0, 1, 2, 3, 2, 1};
    const std::string transparentGif =
        test::GifBuilder()
            .screen(3, 2, palette)
            .raw(std::string("\x21\xF9\x04\x01\x00\x00\x02\x00", 8)) // transparent index 2
            .frame(frame)
            .trailer()
            .bytes();
    const std::string opaqueGif =
        test::GifBuilder().screen(3, 2, palette).graphicControl().frame(frame).trailer().bytes();
    test::TiffPicture tiff;
    tiff.width = 3;
    tiff.height = 2;
    tiff.samplesPerPixel = 4;
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
    // Transparent GIF pixels keep their palette colour.
    image::DibImage picture;
    ASSERT_TRUE(gif::decodeGif(picture, bytesOf(transparentGif)));
    EXPECT_EQ(test::bgrAt(picture, 2, 0),
              (test::Bgr{palette[2].blue, palette[2].green, palette[2].red}));
}

// A PNG save of a picture with a plane keeps every alpha value and the colours under them.
TEST_F(AlphaFiles, OpenAndSaveKeepsEveryAlphaValue) {
    test::PngPicture all;
    all.width = 16;
    all.height = 16;
    all.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    for (int y = 0; y < 16; ++y) {
        all.rows.emplace_back();
        for (int x = 0; x < 16; ++x) {
            all.rows[y].insert(all.rows[y].end(), {uint8_t(x * 16), uint8_t(y * 16), uint8_t(x ^ y),
                                                   uint8_t(16 * y + x)});
        }
    }
    const std::vector<uint8_t> file = test::buildPng(all);
    const std::u16string path = put("all.png", std::string(file.begin(), file.end()));
    image::LoadedImage first;
    ASSERT_TRUE(loadImage(first, path));
    ASSERT_TRUE(saveLoadedPicture(first, u"\\again.png", kPngTypeIndex, 0, {}));
    image::LoadedImage again;
    ASSERT_TRUE(loadImage(again, u"\\again.png"));
    EXPECT_EQ(planeOf(again), planeOf(first));
    for (int y = 0; y < 16; ++y) {
        EXPECT_EQ(planeOf(again)[y][15], 16 * y + 15);
        EXPECT_EQ(std::memcmp(again.row(y), first.row(y), 3 * 16), 0);
    }
}

// Saving: with alpha kept a PNG keeps the plane and the other types get the picture over white;
// with it off every type writes exactly what the picture without its plane gives.
TEST_F(AlphaFiles, SavesFlattenOverWhiteOrIgnoreThePlaneWhenOff) {
    image::LoadedImage picture;
    ASSERT_TRUE(picture.create(4, 3) && picture.createAlpha());
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const uint8_t bgr[3] = {uint8_t(60 * x), uint8_t(90 * y), 200};
            std::memcpy(picture.row(y) + 3 * x, bgr, 3);
            picture.alphaRow(y)[x] = static_cast<uint8_t>(85 * x);
        }
    }
    image::LoadedImage opaque;
    ASSERT_TRUE(opaque.create(4, 3));
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
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const double a = picture.alphaRow(y)[x];
            for (int ch = 0; ch < 3; ++ch) {
                const double c = picture.row(y)[3 * x + ch];
                EXPECT_EQ(flat.row(y)[3 * x + ch], std::lround((c * a + 255 * (255 - a)) / 255));
            }
        }
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
    struct Zoom {
        const char* name;
        image::ViewState state;
        bool smooth;
    };
    const std::vector<Zoom> zooms = {{"copy", {64, 48, 3, 5, 0, 0}, true},
                                     {"stretch", {160, 120, -20, 0, 0, 0}, false},
                                     {"smooth", {30, 22, 11, 9, 0, 0}, true}};
    image::DibImage surface;
    ASSERT_TRUE(surface.create(100, 80));
    for (const Zoom& zoom : zooms) {
        SCOPED_TRACE(zoom.name);
        compose(surface, clear, zoom.state, zoom.smooth, true);
        const image::ViewState& s = zoom.state;
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 100; ++x) {
                const bool inside = x >= s.originX && x < s.originX + s.displayWidth &&
                                    y >= s.originY && y < s.originY + s.displayHeight;
                const int k = inside ? checker(x, y) : 0;
                ASSERT_EQ(test::bgrAt(surface, x, y), (test::Bgr{k, k, k})) << x << "," << y;
            }
        }
    }
    image::DibImage red;
    ASSERT_TRUE(red.create(16, 16) && red.createAlpha());
    red.fillColor(0x0000FF);
    std::memset(red.alphaRow(0), 128, 16 * 16);
    compose(surface, red, {16, 16, 0, 0, 0, 0}, true, true);
    for (const auto& [x, y] : {std::pair{1, 1}, std::pair{9, 2}}) {
        const long under = std::lround(127.0 * checker(x, y) / 255);
        EXPECT_EQ(test::bgrAt(surface, x, y),
                  (test::Bgr{int(under), int(under), int(128 + under)}));
    }
    // Off: the picture's view without its plane, for each path.
    image::DibImage opaque;
    ASSERT_TRUE(opaque.create(64, 48));
    opaque.copyFrom(0, 0, clear);
    image::DibImage expected;
    ASSERT_TRUE(expected.create(100, 80));
    for (const Zoom& zoom : zooms) {
        SCOPED_TRACE(zoom.name);
        compose(surface, clear, zoom.state, zoom.smooth, false);
        compose(expected, opaque, zoom.state, zoom.smooth, true);
        EXPECT_EQ(std::memcmp(surface.bits(), expected.bits(), size_t(surface.stride()) * 80), 0);
    }
}

} // namespace
} // namespace velmora::codecs
