// The frame worker decodes one frame a request on its own thread and can be dropped while it
// decodes.
#include "browse/frame_worker.h"
#include "platform/device_fs.h"

#include "codecs/gif_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace velmora::browse {
namespace {

// Counts the worker's notices and lets the test wait for the next one.
struct Notices {
    std::mutex mutex;
    std::condition_variable arrived;
    int count = 0;

    void notify() {
        {
            const std::lock_guard lock(mutex);
            ++count;
        }
        arrived.notify_one();
    }
    bool waitFor(int wanted) {
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, std::chrono::seconds(10), [&] { return count >= wanted; });
    }
};

TEST(FrameWorker, DecodesOneFrameForEachRequest) {
    test::TempDir dir;
    test::GifBuilder gif;
    gif.screen(64, 48, test::gifTestPalette(4)).application(0);
    for (int i = 0; i < 3; ++i) {
        gif.graphicControl(0, 5 * (i + 1), -1)
            .frame(
                {0, 0, 64, 48, false, std::vector<uint8_t>(64 * 48, static_cast<uint8_t>(i)), {}});
    }
    dir.write("a.gif", gif.trailer().bytes());
    platform::setDeviceRoot(dir.path());

    Notices notices;
    {
        FrameWorker worker(u"\\a.gif", [&notices] { notices.notify(); });
        ASSERT_TRUE(worker.started());
        for (int frame = 0; frame < 7; ++frame) {
            ASSERT_TRUE(notices.waitFor(frame + 1));
            const FrameWorker::Result result = worker.result();
            EXPECT_EQ(result.frameCount, 3);
            EXPECT_EQ(result.delayMs, 50 * (frame % 3 + 1));
            EXPECT_EQ(worker.frame().row(0)[2], test::gifTestPalette(4)[frame % 3].red);
            image::DibImage shown; // the interface thread takes the frame, as showing it does
            shown.swapPixels(worker.frame());
            worker.request();
        }
    } // dropped while it decodes the eighth frame

    {
        Notices missing;
        FrameWorker still(u"\\missing.gif", [&missing] { missing.notify(); });
        ASSERT_TRUE(missing.waitFor(1));
        EXPECT_EQ(still.result().frameCount, 0);
        EXPECT_FALSE(still.result().delayMs);
    } // its thread ends before the root it reads changes
    platform::setDeviceRoot("/");
}

} // namespace
} // namespace velmora::browse
