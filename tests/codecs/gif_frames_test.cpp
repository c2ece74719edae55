// The frames of animated GIFs, each compared with a canvas composed here from the frames' own
// indices by the GIF89a rules, over every disposal method, transparency, local tables,
// interlace, sub-rectangles, the delays and the loop counts.
#include "codecs/gif/gif_frame_source.h"

#include "codecs/gif_builder.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace velmora::codecs::gif {
namespace {

using test::GifFrame;
using test::Rgb;

struct AnimatedFrame {
    GifFrame image;
    int disposal = 0;
    int delay = 0; // hundredths of a second, as stored
    int transparent = -1;
};

struct Animation {
    const char* name;
    int width, height, background;
    std::optional<int> loopCount;
    std::vector<AnimatedFrame> frames;
    int playCount;               // expected
    std::vector<int> shownDelay; // expected, milliseconds
};

const std::vector<Rgb> kGlobal = test::gifTestPalette(8);
const std::vector<Rgb> kLocal = {{250, 0, 0}, {0, 250, 0}, {0, 0, 250}, {9, 9, 9}};

// A frame of the given place whose indices run through the colours (index skip left out).
GifFrame frameOf(int left, int top, int width, int height, int colours, int skip = -1,
                 bool local = false, bool interlaced = false) {
    GifFrame frame{left, top, width, height, interlaced, {}, local ? kLocal : std::vector<Rgb>{}};
    for (int i = 0; i < width * height; ++i) {
        const int index = (i * 5 + left + 3 * top) % colours;
        frame.indices.push_back(static_cast<uint8_t>(index == skip && i % 3 != 0 ? 0 : index));
    }
    return frame;
}

// A frame of random indices, whose data does not fit in the first part of the file read.
GifFrame noisyFrame(int width, int height) {
    std::mt19937 random(7);
    GifFrame frame{0, 0, width, height, false, {}, {}};
    for (int i = 0; i < width * height; ++i) {
        frame.indices.push_back(static_cast<uint8_t>(random() % 8));
    }
    return frame;
}

std::string encode(const Animation& animation) {
    test::GifBuilder gif;
    gif.screen(animation.width, animation.height, kGlobal, animation.background);
    if (animation.loopCount) {
        gif.application(*animation.loopCount);
    }
    for (const AnimatedFrame& frame : animation.frames) {
        gif.graphicControl(frame.disposal, frame.delay, frame.transparent).frame(frame.image);
    }
    return gif.trailer().bytes();
}

struct Canvas {
    std::vector<Rgb> colours;
    std::vector<uint8_t> alpha;
};

// Each frame's canvas. The first frame as the still picture shows it: the screen in the
// background colour (the first frame's table's entry), transparent only where the background
// index is the frame's transparent index, and every pixel of the frame in its table's colour,
// its transparent index's pixels transparent. A later frame's opaque pixels drawn at its place;
// each frame's disposal applied before the next.
std::vector<Canvas> composeReference(const Animation& animation) {
    const auto tableOf = [](const GifFrame& f) {
        return f.localTable.empty() ? kGlobal : f.localTable;
    };
    const Rgb background = tableOf(animation.frames[0].image)[animation.background];
    const bool clearScreen = animation.background == animation.frames[0].transparent;
    Canvas canvas{std::vector<Rgb>(animation.width * animation.height, background),
                  std::vector<uint8_t>(animation.width * animation.height, clearScreen ? 0 : 255)};
    std::vector<Canvas> result;
    for (const AnimatedFrame& frame : animation.frames) {
        const GifFrame& f = frame.image;
        const Canvas before = canvas;
        const std::vector<Rgb> table = tableOf(f);
        for (int y = 0; y < f.height; ++y) {
            for (int x = 0; x < f.width; ++x) {
                const int index = f.indices[y * f.width + x];
                const int at = (f.top + y) * animation.width + f.left + x;
                const bool first = &frame == &animation.frames[0];
                if (index != frame.transparent || first) {
                    canvas.colours[at] = table[index];
                    canvas.alpha[at] = index != frame.transparent ? 255 : 0;
                }
            }
        }
        result.push_back(canvas);
        for (int y = 0; y < f.height && frame.disposal >= 2; ++y) {
            for (int x = 0; x < f.width; ++x) {
                const int at = (f.top + y) * animation.width + f.left + x;
                canvas.colours[at] = frame.disposal == 2 ? background : before.colours[at];
                canvas.alpha[at] = frame.disposal == 2 ? 0 : before.alpha[at];
            }
        }
    }
    return result;
}

void expectFrame(const image::DibImage& frame, const Canvas& expected, bool transparency,
                 int width) {
    ASSERT_EQ(frame.hasAlpha(), transparency);
    for (size_t at = 0; at < expected.colours.size(); ++at) {
        const int x = static_cast<int>(at) % width;
        const int y = static_cast<int>(at) / width;
        const uint8_t* p = frame.row(y) + 3 * x;
        const Rgb want = expected.colours[at];
        ASSERT_TRUE(p[2] == want.red && p[1] == want.green && p[0] == want.blue)
            << "pixel " << x << "," << y;
        if (transparency) {
            ASSERT_EQ(frame.alphaRow(y)[x], expected.alpha[at]) << "alpha " << x << "," << y;
        }
    }
}

TEST(GifFrames, EachFrameEqualsTheCanvasComposedByTheRules) {
    const std::vector<Animation> animations = {
        {"leave in place, transparent, loop 0, delays 0 1 10",
         12,
         10,
         2,
         0,
         {{frameOf(0, 0, 12, 10, 8), 0, 0, -1},
          {frameOf(2, 3, 6, 4, 8, 5), 1, 1, 5},
          {frameOf(5, 1, 7, 9, 8, 1), 0, 10, 1}},
         kPlayForever,
         {100, 100, 100}},
        {"back to background, sub-rectangles, loop 1, delay 65535",
         9,
         11,
         2,
         1,
         {{frameOf(1, 1, 5, 5, 8, 2), 2, 65535, 2},
          {frameOf(3, 4, 6, 7, 8), 2, 4, -1},
          {frameOf(0, 0, 9, 2, 8, 0), 0, 25, 0}},
         2,
         {655350, 40, 250}},
        {"back to previous, loop 3",
         10,
         10,
         0,
         3,
         {{frameOf(0, 0, 10, 10, 8), 1, 7, -1},
          {frameOf(2, 2, 5, 5, 8, 4), 3, 2, 4},
          {frameOf(4, 0, 6, 8, 8), 3, 50, -1},
          {frameOf(0, 6, 3, 4, 8, 7), 0, 20, 7}},
         4,
         {70, 20, 500, 200}},
        {"frames larger than a read of the file",
         600,
         400,
         0,
         0,
         {{noisyFrame(600, 400), 0, 10, -1},
          {frameOf(10, 10, 30, 20, 8), 0, 10, -1},
          {noisyFrame(600, 400), 0, 10, 3}},
         kPlayForever,
         {100, 100, 100}},
        {"local tables, interlace, no loop extension, no transparency",
         13,
         17,
         1,
         std::nullopt,
         {{frameOf(0, 0, 13, 17, 4, -1, true, true), 0, 3, -1},
          {frameOf(1, 2, 11, 14, 8, -1, false, true), 2, 3, -1},
          {frameOf(3, 3, 5, 9, 4, -1, true), 3, 3, -1},
          {frameOf(0, 0, 2, 2, 4, -1, true), 0, 3, -1}},
         1,
         {30, 30, 30, 30}},
    };
    for (const Animation& animation : animations) {
        SCOPED_TRACE(animation.name);
        const std::string file = encode(animation);
        auto source = GifFrameSource::open(test::readerOf(file));
        ASSERT_TRUE(source);
        EXPECT_EQ(source->frameCount(), static_cast<int>(animation.frames.size()));
        EXPECT_EQ(source->playCount(), animation.playCount);
        bool transparency = false;
        for (const AnimatedFrame& frame : animation.frames) {
            transparency = transparency || frame.transparent >= 0;
        }
        const std::vector<Canvas> expected = composeReference(animation);
        for (int play = 0; play < 2; ++play) { // the second play after a rewind
            image::DibImage frame;
            for (size_t i = 0; i < expected.size(); ++i) {
                SCOPED_TRACE(testing::Message() << "play " << play << " frame " << i);
                int delay = 0;
                ASSERT_EQ(source->next(frame, delay), FrameStep::Frame);
                EXPECT_EQ(delay, animation.shownDelay[i]);
                expectFrame(frame, expected[i], transparency, animation.width);
            }
            int delay = 0;
            EXPECT_EQ(source->next(frame, delay), FrameStep::End);
            source->rewind();
        }
    }
}

} // namespace
} // namespace velmora::codecs::gif
