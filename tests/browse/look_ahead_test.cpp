#include "navigator_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "codecs/corrections/picture_corrections.h"
#include "image/view_geometry.h"
#include "platform/background_thread.h"
#include "platform/device_fs.h"
#include "platform/screen.h"

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
    int busyShown = 0;
    host.onBusy = [&] { ++busyShown; };

    navigator.showNext();
    navigator.stopLookAhead();
    EXPECT_EQ(busyShown, 0) << "a finished read-ahead is taken without a wait cursor";
    EXPECT_EQ(navigator.currentPath(), b);
    EXPECT_EQ(shownShade(), 20);
    EXPECT_EQ(navigator.current().path, b);
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
    const int behind = std::min(calls[0].nice + platform::kBehindNice, platform::kLowestNice);
    EXPECT_EQ(calls[1].nice, behind) << "the read-ahead decodes behind the interface";
    EXPECT_EQ(LoadRecorder::threadNice(), calls[0].nice);
}

// A picture read ahead before the orientation or colour choice changed is read again as shown.
TEST_F(LookAheadTest, ChangedCorrectionsReadTheNextPictureAgain) {
    navigator.showCurrent();
    navigator.stopLookAhead(); // b is read ahead
    codecs::setPictureCorrections({true, false});
    navigator.showNext();
    navigator.stopLookAhead();
    codecs::setPictureCorrections({});
    const auto calls = loads.calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[2].path, b);
    EXPECT_FALSE(calls[2].onWorker);
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

TEST_F(LookAheadTest, EarlyNextWaitsForTheWorkerAndTakesItsPicture) {
    // The worker's read of b is held until the next command has shown the wait cursor, so the
    // command finds the worker still decoding the picture it wants.
    std::promise<void> nextPressed;
    std::shared_future<void> pressed = nextPressed.get_future().share();
    int busyCount = 0;
    host.onBusy = [&] {
        if (++busyCount == 2) {
            nextPressed.set_value();
        }
    };
    loads.beforeLoad = [pressed, this](std::u16string_view path, bool onWorker) {
        if (path == b && onWorker) {
            // Bounded only so that a regression fails instead of hanging the suite.
            pressed.wait_for(std::chrono::seconds(30));
        }
        return true;
    };
    navigator.showCurrent();
    navigator.showNext();
    navigator.stopLookAhead();
    EXPECT_EQ(shownShade(), 20);
    EXPECT_EQ(navigator.current().path, b);
    const auto calls = loads.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(loads.countFor(b), 1) << "b is decoded once, by the worker";
    EXPECT_TRUE(calls[1].onWorker);
    EXPECT_EQ(calls[2].path, c);
}

TEST_F(LookAheadTest, NextViewIsComposedAheadAndUsedOnlyWhileTheRequestHolds) {
    image::ViewOptions fitWhole;
    fitWhole.initialZoom = image::InitialZoom::FitWhole;
    host.request = {{3, 2}, fitWhole}; // the 4 x 3 pictures are reduced to 3 x 2
    navigator.showCurrent();
    EXPECT_TRUE(host.composedShown.empty()) << "the first picture is composed by the host";
    navigator.showNext();
    navigator.stopLookAhead();
    ASSERT_EQ(host.composedShown.size(), 1u);
    image::ViewState expected;
    image::ViewGeometry(expected, {4, 3}, {3, 2}, fitWhole).applyInitialZoom();
    EXPECT_EQ(host.composedShown[0], expected);
    image::DibImage fresh;
    ASSERT_TRUE(fresh.create(3, 2));
    image::compose(fresh, navigator.current(), expected, true, true);
    EXPECT_EQ(host.composedSurface,
              std::vector<uint8_t>(fresh.bits(), fresh.bits() + fresh.stride() * 2));

    host.request.options.smoothReduction = false; // changed while c was read ahead
    navigator.showNext();
    EXPECT_EQ(host.composedShown.size(), 1u);
    EXPECT_EQ(host.shownCount, 3);
    EXPECT_EQ(shownShade(), 30);
}

// The window's start applies --root again while the start-up picture decodes (ThreadSanitizer
// checks that the worker's path translation is left alone).
TEST_F(LookAheadTest, RootSetAgainDuringTheStartupDecodeLeavesTheWorkerAlone) {
    browse::ReadAhead startup;
    ASSERT_TRUE(startup.start(loads.loader(), b, {}));
    platform::setDeviceRoot(dir.path());
    startup.wait();
    EXPECT_TRUE(startup.readyFor(b));
    EXPECT_EQ(startup.image().row(0)[0], 20);
}

TEST_F(LookAheadTest, UnreadableStartupPictureIsReportedWhenShownAsWithoutTheEarlyDecode) {
    const std::u16string bad = file("pics/broken.bmp", "BM not really a bitmap");
    browse::ReadAhead startup;
    ASSERT_TRUE(startup.start(loads.loader(), bad, {}));
    navigator.adoptReadAhead(std::move(startup));
    navigator.openAtStartup(bad, true);
    navigator.stopLookAhead();
    ASSERT_EQ(boxes.shown.size(), 2u) << "the failed early decode itself stays silent";
    EXPECT_EQ(boxes.shown[0].text, u"画像が不正です");
    EXPECT_EQ(boxes.shown[1].text, u"読込失敗:\nbroken.bmp");
    EXPECT_EQ(host.shownCount, 0);
}

TEST_F(LookAheadTest, DecodedPictureIsComposedAgainForANewSurface) {
    // The start-up case: decoded before there was a surface, composed once the window has one.
    browse::ReadAhead startup;
    ASSERT_TRUE(startup.start(loads.loader(), b, {}));
    startup.wait(); // decoded
    navigator.adoptReadAhead(std::move(startup));
    image::ViewOptions fitWhole;
    fitWhole.initialZoom = image::InitialZoom::FitWhole;
    host.request = {{3, 2}, fitWhole};
    navigator.viewRequestChanged();
    navigator.openAtStartup(b, true);
    navigator.stopLookAhead();

    EXPECT_EQ(shownShade(), 20);
    EXPECT_EQ(loads.countFor(b), 1);
    ASSERT_EQ(host.composedShown.size(), 1u);
    image::ViewState expected;
    image::ViewGeometry(expected, {4, 3}, {3, 2}, fitWhole).applyInitialZoom();
    EXPECT_EQ(host.composedShown[0], expected);
}

TEST_F(LookAheadTest, PictureWhoseViewCannotBeComposedAheadIsStillTakenFromTheWorker) {
    browse::ReadAhead startup;
    host.request = {{image::kMaxImageSide + 1, 2}, {}}; // a surface no image can have
    ASSERT_TRUE(startup.start(loads.loader(), b, host.request));
    navigator.adoptReadAhead(std::move(startup));
    navigator.openAtStartup(b, true);
    navigator.stopLookAhead();
    EXPECT_EQ(shownShade(), 20);
    EXPECT_EQ(loads.countFor(b), 1);
    EXPECT_TRUE(host.composedShown.empty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LookAheadTest, ReadAheadPictureIsFreedWhenNothingFollows) {
    for (const bool preload : {true, false}) {
        SCOPED_TRACE(preload ? "read-ahead on" : "read-ahead off");
        settings.usePreload = true;
        useList({a, b, c});
        navigator.showCurrent();
        navigator.stopLookAhead();
        ASSERT_TRUE(navigator.lookAhead().hasPixels()) << "b is read ahead";

        settings.usePreload = preload;
        navigator.showLast(); // c: the last entry, nothing to read ahead
        navigator.stopLookAhead();
        EXPECT_EQ(shownShade(), 30);
        EXPECT_FALSE(navigator.lookAhead().hasPixels());
        EXPECT_TRUE(navigator.lookAhead().path.empty());
    }
}

// A decode stopped part way leaves no buffer behind: the next read would otherwise have to fault
// in its untouched pages all at once, before the first row where it looks for a stop.
TEST(ReadAheadBuffer, ADecodeStoppedPartWayLeavesNothingForTheNextRead) {
    browse::ReadAhead ahead;
    bool hadPixels = true;
    const browse::ImageLoader loader = [&](image::LoadedImage& image, std::u16string_view path,
                                           std::stop_token stop) {
        if (path == u"b.jpg") { // the next read
            hadPixels = image.hasPixels();
        } else if (image.create(2000, 1500)) { // stopped part way
            while (!stop.stop_requested()) {
                std::this_thread::yield();
            }
        }
        return codecs::LoadResult{codecs::LoadCause::Stopped};
    };
    ASSERT_TRUE(ahead.start(loader, u"a.jpg", {}));
    ahead.abandon();
    ASSERT_TRUE(ahead.start(loader, u"b.jpg", {}));
    ahead.wait();
    EXPECT_FALSE(hadPixels);
}

// A start-up picture decoded by a read-ahead started before the navigator existed.
TEST_F(LookAheadTest, StartupPictureIsDecodedOnceOnTheWorkerAndShown) {
    struct Case {
        const char* name;
        bool byArgument; // else the newest recent file, with no argument
    };
    for (const Case& test : {Case{"argument", true}, Case{"recent file", false}}) {
        SCOPED_TRACE(test.name);
        navigator.clearFolderList();
        settings.recentFiles = {b};
        const std::u16string argument = test.byArgument ? c : u"";
        const std::u16string wanted = browse::startupPicture(argument, settings);
        ASSERT_EQ(wanted, test.byArgument ? c : b);

        const size_t before = loads.calls().size();
        browse::ReadAhead startup;
        ASSERT_TRUE(startup.start(loads.loader(), wanted, {}));
        navigator.adoptReadAhead(std::move(startup));
        navigator.openAtStartup(argument, test.byArgument);
        navigator.stopLookAhead();

        EXPECT_EQ(navigator.currentPath(), wanted);
        EXPECT_EQ(shownShade(), test.byArgument ? 30 : 20);
        const auto calls = loads.calls();
        ASSERT_GT(calls.size(), before);
        EXPECT_EQ(calls[before].path, wanted);
        EXPECT_TRUE(calls[before].onWorker);
        int decodes = 0;
        for (size_t i = before; i < calls.size(); ++i) {
            decodes += calls[i].path == wanted ? 1 : 0;
        }
        EXPECT_EQ(decodes, 1) << "the start-up picture is not decoded a second time";
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// The screen turning on the interface thread while the worker decodes and composes: the worker
// reads only the pixels per inch, which a turn leaves alone. Nothing orders the turns against
// the worker, so ThreadSanitizer reports any memory both touch.
TEST_F(LookAheadTest, ScreenTurnDuringReadAheadLeavesTheWorkerAlone) {
    platform::setScreenMetrics({240, 320, 192, 192});
    host.request = {{240, 268}, {}};
    navigator.showCurrent();
    for (int turn = 0; turn < 4; ++turn) {
        const platform::ScreenMetrics now = platform::screenMetrics();
        platform::setScreenSize(now.height, now.width);
    }
    navigator.stopLookAhead();
    EXPECT_EQ(platform::screenMetrics().dpiY, 192) << "a turn keeps the pixels per inch";
    platform::setScreenMetrics({});
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
