// Animated WebP and AVIF files made with the libraries' own tools play their frames: red, green
// and blue in turn, each 100 ms, as often as the file says.
#include "codecs/frame_source.h"

#include "device_folder_fixture.h"
#include "png_builder.h"
#include "reference_decoder.h"

#include <gtest/gtest.h>

#include <array>

namespace velmora::codecs {
namespace {

constexpr int kSide = 16;

// The PNG of a flat colour (red, green, blue by channel 0, 1, 2).
std::string flatPng(int channel) {
    test::PngPicture picture;
    picture.width = picture.height = kSide;
    picture.colorType = PNG_COLOR_TYPE_RGB;
    for (int y = 0; y < kSide; ++y) {
        std::vector<uint8_t> row(3 * kSide, 0);
        for (int x = 0; x < kSide; ++x) {
            row[3 * x + channel] = 255;
        }
        picture.rows.push_back(row);
    }
    const auto png = test::buildPng(picture);
    return {png.begin(), png.end()};
}

// Three frames of flat red, green and blue at 10 frames a second, in the 4:4:4 YUV of BT.601.
std::string flatY4m() {
    std::string out = "YUV4MPEG2 W16 H16 F10:1 Ip A1:1 C444\n";
    const std::array<std::array<char, 3>, 3> yuv = {
        {{81, 90, -16}, {-111, 54, 34}, {41, -16, 110}}};
    for (const auto& colour : yuv) {
        out += "FRAME\n";
        for (const char plane : colour) {
            out.append(kSide * kSide, plane);
        }
    }
    return out;
}

// The strongest channel of the middle pixel: 0 red, 1 green, 2 blue.
int colourOf(const image::DibImage& frame) {
    const uint8_t* p = frame.row(kSide / 2) + 3 * (kSide / 2);
    const std::array<int, 3> rgb = {p[2], p[1], p[0]};
    return static_cast<int>(std::max_element(rgb.begin(), rgb.end()) - rgb.begin());
}

class AnimatedFormatsTest : public test::DeviceFolderTest {};

TEST_F(AnimatedFormatsTest, ToolMadeAnimationsPlayTheirFrames) {
    for (int channel = 0; channel < 3; ++channel) {
        put("f" + std::to_string(channel) + ".png", flatPng(channel));
        put("s.y4m", flatY4m());
    }
    const std::string folder = dir.path().string() + "/";
    struct Case {
        const char* file;
        std::string command;
        int playCount;
    };
    const Case cases[] = {
        {"a.webp",
         "img2webp -loop 2 -lossless -d 100 " + folder + "f0.png " + folder + "f1.png " + folder +
             "f2.png -o " + folder + "a.webp",
         2},
        {"a.avif", "avifenc -s 10 " + folder + "s.y4m " + folder + "a.avif", kPlayForever},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(test::runQuietly(c.command));
        const auto source = openFrameSource(devicePath(c.file));
        ASSERT_TRUE(source);
        EXPECT_EQ(source->frameCount(), 3);
        EXPECT_EQ(source->playCount(), c.playCount);
        image::DibImage frame;
        for (int play = 0; play < 2; ++play) {
            for (int i = 0; i < 3; ++i) {
                int delay = 0;
                ASSERT_EQ(source->next(frame, delay), FrameStep::Frame);
                EXPECT_EQ(frame.width(), kSide);
                EXPECT_EQ(colourOf(frame), i);
                EXPECT_EQ(delay, 100);
            }
            int delay = 0;
            EXPECT_EQ(source->next(frame, delay), FrameStep::End);
            source->rewind();
        }
    }
}

} // namespace
} // namespace velmora::codecs
