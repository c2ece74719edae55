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
    navigator.showNext();
    navigator.showPrevious();
    navigator.stopLookAhead();
    EXPECT_EQ(shownShade(), 10);
    EXPECT_EQ(loads.countFor(a), 2);
    EXPECT_FALSE(loads.calls()[3].onWorker) << "only the following entry is read ahead";
}

TEST_F(LookAheadTest, FailedReadAheadFallsBackToADirectLoad) {
    loads.beforeLoad = [this](std::u16string_view path, bool onWorker) {
        return !(onWorker && path == b);
    };
    navigator.showCurrent();
    navigator.stopLookAhead();
    EXPECT_TRUE(boxes.shown.empty()) << "a failing read-ahead is silent";

    navigator.showNext();
    navigator.stopLookAhead();
    EXPECT_EQ(shownShade(), 20);
    EXPECT_EQ(loads.countFor(b), 2);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LookAheadTest, BrokenNextFileIsReportedOnlyWhenShown) {
    const std::u16string bad = file("pics/b.bmp", "BM broken");
    navigator.showCurrent();
    navigator.stopLookAhead();
    EXPECT_TRUE(boxes.shown.empty());

    navigator.showNext();
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(boxes.shown.back().caption, u"Image Load Failed.");
    EXPECT_EQ(navigator.currentPath(), bad);
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

TEST_F(LookAheadTest, ReleasedLookAheadIsNotTakenLater) {
    navigator.showCurrent();
    navigator.releaseLookAhead();
    navigator.showNext();
    navigator.stopLookAhead();
    EXPECT_EQ(shownShade(), 20);
    EXPECT_EQ(loads.countFor(b), 2);
}

TEST_F(LookAheadTest, ReplacedListDoesNotTakeAStalePicture) {
    navigator.showCurrent(); // reads b ahead
    navigator.stopLookAhead();
    const std::u16string other = picture("other/b.bmp", 50);
    useList({other});
    navigator.showCurrent();
    EXPECT_EQ(shownShade(), 50);
    EXPECT_EQ(loads.countFor(other), 1);
}

} // namespace
} // namespace velmora::test
