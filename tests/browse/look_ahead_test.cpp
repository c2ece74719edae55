#include "navigator_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

namespace velmora::test {
namespace {

class LookAheadTest : public NavigatorTest {
  protected:
    void SetUp() override {
        NavigatorTest::SetUp();
        a = picture("pics/a.bmp", 10);
        b = picture("pics/b.bmp", 20);
        c = picture("pics/c.bmp", 30);
        useList({a, b, c});
    }
    std::u16string a, b, c;
};

TEST_F(LookAheadTest, NextPictureIsTakenFromTheWorkerWithoutASecondDecode) {
    navigator.showCurrent();
    navigator.stopLookAhead(); // the worker has finished with b
    dir.write("pics/b.bmp", "gone bad since it was read ahead");

    navigator.showNext();
    navigator.stopLookAhead();
    EXPECT_EQ(navigator.currentPath(), b);
    EXPECT_EQ(shownShade(), 20);
    EXPECT_EQ(navigator.current().path, b);
    EXPECT_TRUE(navigator.current().reportErrors);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(settings.recentFiles, (std::vector<std::u16string>{b, a}));

    const auto calls = loads.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].path, a);
    EXPECT_FALSE(calls[0].onWorker);
    EXPECT_EQ(calls[1].path, b);
    EXPECT_TRUE(calls[1].onWorker);
    EXPECT_EQ(calls[2].path, c);
    EXPECT_TRUE(calls[2].onWorker);
}

TEST_F(LookAheadTest, BackwardAndWrapMovesLoadDirectly) {
    navigator.showCurrent();
    navigator.stopLookAhead();
    navigator.showNext();
    navigator.stopLookAhead(); // c is ready ahead, but c is not what is asked for
    navigator.showPrevious();
    navigator.stopLookAhead();
    EXPECT_EQ(shownShade(), 10);
    const auto calls = loads.calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[3].path, a);
    EXPECT_FALSE(calls[3].onWorker) << "only the following entry is read ahead";
}

TEST_F(LookAheadTest, FailedReadAheadIsSilentAndFallsBackToADirectLoad) {
    file("pics/b.bmp", "BM broken while it is read ahead");
    navigator.showCurrent();
    navigator.stopLookAhead();
    EXPECT_TRUE(boxes.shown.empty()) << "the read-ahead image reports no errors";

    picture("pics/b.bmp", 20);
    navigator.showNext();
    navigator.stopLookAhead();
    EXPECT_EQ(shownShade(), 20);
    EXPECT_EQ(loads.countFor(b), 2);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LookAheadTest, UnfinishedReadAheadIsNotWaitedForOrTaken) {
    // The worker's read of b is held until this thread has started its own load of b, so the
    // look-ahead image cannot be ready when the next picture is asked for.
    std::promise<void> directLoadStarted;
    std::shared_future<void> released = directLoadStarted.get_future().share();
    loads.beforeLoad = [&, released](std::u16string_view path, bool onWorker) {
        if (path == b && onWorker) {
            // Bounded only so that a regression fails instead of hanging the suite.
            released.wait_for(std::chrono::seconds(30));
        } else if (path == b) {
            directLoadStarted.set_value();
        }
        return true;
    };
    navigator.showCurrent();
    navigator.showNext();
    navigator.stopLookAhead();
    EXPECT_EQ(shownShade(), 20);
    const auto calls = loads.calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(loads.countFor(b), 2);
    EXPECT_EQ(calls[3].path, c);
}

TEST_F(LookAheadTest, ReadAheadSwitchedOffDecodesEveryPictureOnTheSpot) {
    settings.usePreload = false;
    navigator.showCurrent();
    navigator.showNext();
    navigator.showNext();
    const auto calls = loads.calls();
    ASSERT_EQ(calls.size(), 3u);
    for (const auto& call : calls) {
        EXPECT_FALSE(call.onWorker);
    }
}

} // namespace
} // namespace velmora::test
