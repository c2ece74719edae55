// The order frames are played in: the plays a loop count asks for, and the end on the last good
// frame when a later frame is broken.
#include "browse/frame_playback.h"
#include "codecs/gif/gif_frame_source.h"

#include "codecs/gif_builder.h"

#include <gtest/gtest.h>

#include <optional>

namespace velmora::browse {
namespace {

using test::GifFrame;

// Three frames, each a flat colour (1, 2, 3) so a frame tells which it is; frame brokenAt (from
// 0; -1 for none) has its data cut short.
std::string threeFrames(std::optional<int> loopCount, int brokenAt) {
    test::GifBuilder gif;
    gif.screen(4, 3, test::gifTestPalette(4));
    if (loopCount) {
        gif.application(*loopCount);
    }
    for (int i = 0; i < 3; ++i) {
        const GifFrame frame{
            0, 0, 4, 3, false, std::vector<uint8_t>(12, static_cast<uint8_t>(i + 1)), {}};
        gif.graphicControl(0, 10 * (i + 1), -1);
        if (i == brokenAt) {
            gif.descriptor(frame).byte(2).byte(1).byte(0x04).byte(0); // a clear code only
        } else {
            gif.frame(frame);
        }
    }
    return gif.trailer().bytes();
}

TEST(FramePlayback, PlaysAsOftenAsTheLoopCountSaysAndEndsOnTheLastGoodFrame) {
    struct Case {
        const char* name;
        std::optional<int> loopCount;
        int brokenAt;
        int framesPlayed; // -1: still playing after 30
    };
    const Case cases[] = {
        {"no loop extension: once", std::nullopt, -1, 3},
        {"loop count 1: twice", 1, -1, 6},
        {"loop count 3: four times", 3, -1, 12},
        {"loop count 0: without end", 0, -1, -1},
        {"third frame broken", 0, 2, 2},
        {"second frame broken", std::nullopt, 1, 1},
    };
    const auto colourOf = [](const image::DibImage& frame) {
        const uint8_t* p = frame.row(0);
        const std::vector<test::Rgb> table = test::gifTestPalette(4);
        for (int i = 0; i < 4; ++i) {
            if (p[2] == table[i].red && p[1] == table[i].green && p[0] == table[i].blue) {
                return i;
            }
        }
        return -1;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = threeFrames(c.loopCount, c.brokenAt);
        auto source = codecs::gif::GifFrameSource::open(test::readerOf(file));
        ASSERT_TRUE(source);
        FramePlayback playback(std::move(source));
        image::DibImage frame;
        int played = 0;
        for (; played < 30; ++played) {
            const std::optional<int> delay = playback.next(frame);
            if (!delay) {
                break;
            }
            EXPECT_EQ(colourOf(frame), played % 3 + 1);
            EXPECT_EQ(*delay, (played % 3 == 2) ? 300 : played % 3 == 1 ? 200 : 100);
        }
        EXPECT_EQ(played, c.framesPlayed < 0 ? 30 : c.framesPlayed);
        if (played < 30) {
            EXPECT_FALSE(playback.next(frame)) << "playing stays ended";
            EXPECT_EQ(colourOf(frame), (played - 1) % 3 + 1) << "the last good frame stays";
        }
    }
}

} // namespace
} // namespace velmora::browse
