// A big JPEG is shown first from a reduced decode, then whole at the same geometry.
#include "navigator_fixture.h"

#include "browse/picture_preview.h"
#include "codecs/readers.h"
#include "image/view_geometry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>

namespace velmora::test {
namespace {

image::ViewOptions zoomMode(image::InitialZoom zoom) {
    image::ViewOptions options;
    options.initialZoom = zoom;
    return options;
}

TEST(PreviewDenominator, SmallestReductionStillCoveringTheInitialView) {
    const image::ViewOptions whole = zoomMode(image::InitialZoom::FitWhole);
    struct Case {
        image::ViewSize picture;
        image::ViewRequest request;
        int denominator;
    } cases[] = {
        {{8000, 6000}, {{1024, 726}, whole}, 8}, // shown 968 x 726, 1/8 is 1000 x 750
        {{4000, 3000}, {{1024, 726}, whole}, 4},
        {{7733, 5800}, {{1024, 726}, whole}, 4}, // 1/8 would be 967 x 725: a row short
        {{2000, 1500}, {{1024, 726}, whole}, 2},
        {{1900, 1425}, {{1024, 726}, whole}, 1}, // shown at more than half its size
        {{1600, 1200}, {{240, 320}, whole}, 4},  // a handheld screen: shown 240 x 180
        {{1200, 1600}, {{240, 320}, zoomMode(image::InitialZoom::FitWidth)}, 4},
        {{8000, 6000}, {{1024, 726}, zoomMode(image::InitialZoom::Original)}, 1},
        {{8000, 6000}, {}, 1}, // no surface yet
    };
    for (const Case& c : cases) {
        EXPECT_EQ(browse::previewDenominator(c.picture, c.request), c.denominator)
            << c.picture.width << " x " << c.picture.height << " on " << c.request.surface.width
            << " x " << c.request.surface.height;
    }
}

// A navigator whose worker's whole decodes of the big picture can be held, with its reduced
// decodes counted.
class ReducedViewTest : public NavigatorTest {
  protected:
    void SetUp() override {
        NavigatorTest::SetUp();
        image::DibImage pixels;
        ASSERT_TRUE(pixels.create(kBig.width, kBig.height));
        big = file("pics/a-big.jpg", "");
        ASSERT_TRUE(codecs::saveJpeg(pixels, big, 90));
        small = picture("pics/b.bmp", 20);
        host.request = {{240, 320}, zoomMode(image::InitialZoom::FitWhole)};
        reduced.clearFolderList();
        reduced.appendToFolderList(big, true);
        reduced.appendToFolderList(small, false);
    }
    void TearDown() override {
        release();
        reduced.abandonLookAhead();
        NavigatorTest::TearDown();
    }

    // Lets held whole decodes go on.
    void release() {
        std::lock_guard lock(gateMutex_);
        held_ = false;
        gate_.notify_all();
    }

    static constexpr image::ViewSize kBig{1600, 1200};
    std::u16string big, small;
    std::atomic<int> reducedDecodes{0};
    std::atomic<int> reducedOnWorker{0};
    std::vector<codecs::LoadCause> wholeResults; // of the big picture, on the worker
    browse::Navigator reduced{
        host, settings,
        [this](image::LoadedImage& image, std::u16string_view path, std::stop_token stop) {
            const bool wholeOfBig = path == big && std::this_thread::get_id() != interface_;
            if (wholeOfBig) {
                std::unique_lock lock(gateMutex_);
                gate_.wait_for(lock, stop, std::chrono::seconds(20), [&] { return !held_; });
            }
            const codecs::LoadResult result = loads.loader()(image, path, stop);
            if (wholeOfBig) {
                std::lock_guard lock(gateMutex_);
                wholeResults.push_back(result.cause);
            }
            return result;
        },
        [this](image::LoadedImage& image, std::u16string_view path,
               const image::ViewRequest& request, image::ViewSize& whole) {
            const codecs::LoadResult result = browse::loadPreview(image, path, request, whole);
            reducedDecodes += result ? 1 : 0;
            reducedOnWorker += result && std::this_thread::get_id() != interface_ ? 1 : 0;
            return result;
        }};

  private:
    std::thread::id interface_ = std::this_thread::get_id();
    std::mutex gateMutex_;
    std::condition_variable_any gate_; // wakes on release() and on a stop
    bool held_ = true;
};

TEST_F(ReducedViewTest, ReducedDecodeIsShownFirstThenTheWholePictureAtTheSameGeometry) {
    reduced.showCurrent();
    ASSERT_TRUE(reduced.showsReduced());
    EXPECT_EQ(reduced.viewed().width(), kBig.width / 4);
    EXPECT_EQ(reduced.shownSize(), kBig) << "the view is laid out for the whole picture";
    EXPECT_EQ(host.shownCount, 1);

    release();
    reduced.stopLookAhead();
    EXPECT_EQ(host.wholeNotices, 1) << "the worker tells when the whole picture is there";
    EXPECT_EQ(host.wholeShownCount, 0) << "and it is taken on the interface thread";
    reduced.takeWholePicture();
    EXPECT_FALSE(reduced.showsReduced());
    EXPECT_EQ(reduced.viewed().width(), kBig.width);
    EXPECT_EQ(host.wholeShownCount, 1);
    image::ViewState shown;
    image::ViewGeometry(shown, kBig, host.request.surface, host.request.options).applyInitialZoom();
    EXPECT_EQ(host.wholeComposedState, shown) << "composed ahead at the reduced view's geometry";

    reduced.stopLookAhead();
    EXPECT_EQ(reducedDecodes, 1);
    EXPECT_EQ(loads.countFor(big), 1);
    EXPECT_EQ(loads.countFor(small), 1) << "the following picture is read ahead once it is taken";
    EXPECT_EQ(wholeResults, std::vector{codecs::LoadCause::Loaded});
}

// Zoom past the reduced picture, save, edits and file information all ask for current().
TEST_F(ReducedViewTest, WholePictureAskedForBeforeItArrivesIsWaitedForAndNotDecodedAgain) {
    reduced.showCurrent();
    ASSERT_TRUE(reduced.showsReduced());
    int busyShown = 0;
    host.onBusy = [&] {
        ++busyShown;
        release(); // the worker's decode goes on only once the wait cursor is up
    };
    const image::LoadedImage& whole = reduced.current();
    EXPECT_EQ(busyShown, 1);
    EXPECT_EQ(whole.width(), kBig.width);
    EXPECT_EQ(host.wholeShownCount, 1);

    reduced.stopLookAhead();
    reduced.takeWholePicture(); // the worker's notice, now late, changes nothing
    EXPECT_EQ(host.wholeShownCount, 1);
    EXPECT_EQ(reducedDecodes, 1);
    EXPECT_EQ(loads.countFor(big), 1) << "one whole decode, on the worker";
    EXPECT_EQ(wholeResults, std::vector{codecs::LoadCause::Loaded});
}

TEST_F(ReducedViewTest, WithTheSettingOffTheWholePictureIsDecodedAtOnce) {
    settings.reducedFirstView = false;
    release();
    reduced.showCurrent();
    EXPECT_FALSE(reduced.showsReduced());
    EXPECT_EQ(reduced.viewed().width(), kBig.width);
    EXPECT_EQ(reducedDecodes, 0);
    reduced.stopLookAhead();
    ASSERT_EQ(loads.calls().size(), 2u);
    EXPECT_FALSE(loads.calls()[0].onWorker);
}

// The key comes while the read-ahead is still decoding the big picture: its reduced decode is
// shown at once, and the read-ahead's own whole decode replaces it.
TEST_F(ReducedViewTest, PagingOntoABigPictureStillReadAheadShowsItsReducedDecodeAtOnce) {
    reduced.clearFolderList();
    reduced.appendToFolderList(small, true);
    reduced.appendToFolderList(big, false);
    reduced.showCurrent();
    reduced.showNext(); // would wait for the held read-ahead if it did not show the reduced decode
    ASSERT_TRUE(reduced.showsReduced());
    EXPECT_EQ(reduced.viewed().width(), kBig.width / 4);

    release();
    reduced.stopLookAhead();
    reduced.takeWholePicture(); // the read-ahead's notice
    EXPECT_FALSE(reduced.showsReduced());
    EXPECT_EQ(reduced.viewed().width(), kBig.width);
    EXPECT_EQ(host.wholeShownCount, 1);
    EXPECT_EQ(reducedDecodes, 1);
    EXPECT_EQ(loads.countFor(big), 1) << "the read-ahead's decode is the one shown";
    EXPECT_EQ(wholeResults, std::vector{codecs::LoadCause::Loaded});
}

TEST_F(ReducedViewTest, PagingAwayDuringTheWholeDecodeStopsIt) {
    reduced.showCurrent();
    ASSERT_TRUE(reduced.showsReduced());
    reduced.showNext(); // would wait for the held decode if it were not stopped
    EXPECT_EQ(reduced.currentPath(), small);
    EXPECT_FALSE(reduced.showsReduced());
    EXPECT_EQ(reduced.viewed().row(0)[0], 20);
    reduced.takeWholePicture(); // the stopped decode's notice
    EXPECT_EQ(host.wholeShownCount, 0);
    EXPECT_EQ(wholeResults, std::vector{codecs::LoadCause::Stopped});
    EXPECT_TRUE(boxes.shown.empty());
}

// A reduced view made on the worker is taken, not decoded again: the next picture's, made before
// the shown one is read whole, and the start-up picture's, made while the window is being built.
TEST_F(ReducedViewTest, AReducedViewMadeOnTheWorkerIsTakenNotDecodedAgain) {
    const std::u16string next = file("pics/a-big2.jpg", "");
    image::DibImage pixels;
    ASSERT_TRUE(pixels.create(kBig.width, kBig.height));
    ASSERT_TRUE(codecs::saveJpeg(pixels, next, 90));
    for (const bool startup : {false, true}) {
        SCOPED_TRACE(startup ? "start-up picture" : "next picture");
        reduced.abandonLookAhead();
        reduced.clearFolderList();
        reducedDecodes = 0;
        reducedOnWorker = 0;
        int cursors = 0;
        if (startup) {
            image::ViewRequest window = host.request;
            window.surface.height += 48; // the window before its bars take their part
            reduced.reduceStartupPictureAhead(next, true, window);
            ASSERT_TRUE(reduced.startupPictureAtHand(next, true));
            reduced.stopLookAhead(); // the view is made while the window is
            host.onBusy = [&cursors] { ++cursors; };
            reduced.openAtStartup(next, true);
        } else {
            reduced.appendToFolderList(big, true);
            reduced.appendToFolderList(next, false);
            reduced.showCurrent(); // the worker reduces next, then holds at the whole of big
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (reducedOnWorker == 0 && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            host.onBusy = [&cursors] { ++cursors; };
            reduced.showNext();
        }
        host.onBusy = {};
        EXPECT_EQ(cursors, 0) << "a view made ahead is only swapped in";
        EXPECT_EQ(reduced.currentPath(), next);
        ASSERT_TRUE(reduced.showsReduced());
        EXPECT_EQ(reduced.viewed().width(), kBig.width / 4);
        EXPECT_EQ(reducedOnWorker, 1);
        EXPECT_EQ(reducedDecodes, startup ? 1 : 2) << "only the shown big picture's on the key";
    }
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
} // namespace velmora::test
