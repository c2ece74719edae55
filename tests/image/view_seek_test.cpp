#include "image/view_geometry.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace velmora::image {
namespace {

using Position = std::pair<int32_t, int32_t>;

Position origin(const ViewState& s) {
    return {s.originX, s.originY};
}

ViewOptions seekOptions(int32_t seekDirec, int32_t vOrigin, int32_t xSeek, int32_t ySeek) {
    ViewOptions options;
    options.seekDirec = seekDirec;
    options.vOrigin = vOrigin;
    options.xSeek = xSeek;
    options.ySeek = ySeek;
    return options;
}

// Seeks until the walk leaves the image; returns the positions visited and how it ended.
std::pair<std::vector<Position>, SeekResult> walk(ViewGeometry& view, const ViewState& state,
                                                  bool forward) {
    std::vector<Position> seen;
    for (int guard = 0; guard < 100; ++guard) {
        const SeekResult result = forward ? view.seekForward() : view.seekBackward();
        if (result != SeekResult::Moved) {
            return {seen, result};
        }
        seen.push_back(origin(state));
    }
    ADD_FAILURE() << "the walk did not end";
    return {seen, SeekResult::Moved};
}

TEST(ViewSeek, RightToLeftPagesAreReadBandByBandThenTheNextFile) {
    ViewState state;
    ViewGeometry view(state, {640, 480}, {240, 268},
                      seekOptions(kSeekHorizontalFirst, kOriginTopRight, 120, 160));
    view.showOriginalSize(false);
    ASSERT_EQ(origin(state), Position(-400, 0));
    const auto [seen, end] = walk(view, state, true);
    const std::vector<Position> want = {{-280, 0},    {-160, 0},    {-40, 0},     {0, 0},
                                        {-400, -160}, {-280, -160}, {-160, -160}, {-40, -160},
                                        {0, -160},    {-400, -212}, {-280, -212}, {-160, -212},
                                        {-40, -212},  {0, -212}};
    EXPECT_EQ(seen, want);
    EXPECT_EQ(end, SeekResult::ShowNext);

    view.showReadingEnd(); // as after going back from the next picture
    ASSERT_EQ(origin(state), Position(0, -212));
    const auto [back, start] = walk(view, state, false);
    const std::vector<Position> wantBack = {
        {-120, -212}, {-240, -212}, {-360, -212}, {-400, -212}, {0, -52},  {-120, -52}, {-240, -52},
        {-360, -52},  {-400, -52},  {0, 0},       {-120, 0},    {-240, 0}, {-360, 0},   {-400, 0}};
    EXPECT_EQ(back, wantBack);
    EXPECT_EQ(start, SeekResult::ShowPrevious);
}

TEST(ViewSeek, EveryReadingOrderVisitsEachScreenOfA2By2Page) {
    struct Case {
        int32_t seekDirec, vOrigin;
        std::vector<Position> forward;  // from the initial placement
        std::vector<Position> backward; // from the reading end
    };
    const Case cases[] = {
        {kSeekHorizontalFirst,
         kOriginTopLeft,
         {{-200, 0}, {0, -200}, {-200, -200}},
         {{0, -200}, {-200, 0}, {0, 0}}},
        {kSeekHorizontalFirst,
         kOriginCentre,
         {{-200, -100}, {0, -200}, {-200, -200}},
         {{0, -200}, {-200, 0}, {0, 0}}},
        {kSeekHorizontalFirst,
         kOriginTopRight,
         {{0, 0}, {-200, -200}, {0, -200}},
         {{-200, -200}, {0, 0}, {-200, 0}}},
        {kSeekVerticalFirst,
         kOriginTopLeft,
         {{0, -200}, {-200, 0}, {-200, -200}},
         {{-200, 0}, {0, -200}, {0, 0}}},
        {kSeekVerticalFirst,
         kOriginCentre,
         {{-100, -200}, {-200, 0}, {-200, -200}},
         {{-200, 0}, {0, -200}, {0, 0}}},
        {kSeekVerticalFirst,
         kOriginTopRight,
         {{-200, -200}, {0, 0}, {0, -200}},
         {{0, 0}, {-200, -200}, {-200, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "seekDirec " << c.seekDirec << " vOrigin " << c.vOrigin);
        ViewState state;
        ViewGeometry view(state, {400, 400}, {200, 200},
                          seekOptions(c.seekDirec, c.vOrigin, 200, 200));
        view.showOriginalSize(false);
        const auto [forward, next] = walk(view, state, true);
        EXPECT_EQ(forward, c.forward);
        EXPECT_EQ(next, SeekResult::ShowNext);

        view.showReadingEnd();
        const auto [backward, previous] = walk(view, state, false);
        EXPECT_EQ(backward, c.backward);
        EXPECT_EQ(previous, SeekResult::ShowPrevious);
    }
}

TEST(ViewSeek, AnImageThatFitsGoesStraightToTheNeighbours) {
    for (int32_t seekDirec : {kSeekHorizontalFirst, kSeekVerticalFirst}) {
        for (int32_t vOrigin : {kOriginTopLeft, kOriginCentre, kOriginTopRight}) {
            ViewState state;
            ViewGeometry view(state, {200, 150}, {240, 268},
                              seekOptions(seekDirec, vOrigin, 120, 160));
            view.showOriginalSize(false);
            EXPECT_EQ(view.seekForward(), SeekResult::ShowNext);
            view.showOriginalSize(false);
            EXPECT_EQ(view.seekBackward(), SeekResult::ShowPrevious);
            const ViewState before = state;
            view.showReadingEnd();
            EXPECT_EQ(state, before) << seekDirec << " " << vOrigin;
        }
    }
}

TEST(ViewSeek, DeclinedWrapAtTheFirstPictureJumpsToItsBottom) {
    // Backward at the top of a tall picture, with nothing else loaded: the same picture stays
    // and the caller asks for its reading end.
    ViewState state;
    ViewGeometry view(state, {200, 600}, {240, 268},
                      seekOptions(kSeekHorizontalFirst, kOriginTopRight, 120, 160));
    view.showOriginalSize(false);
    ASSERT_EQ(view.seekBackward(), SeekResult::ShowPrevious);
    view.showReadingEnd();
    EXPECT_EQ(origin(state), Position(40, -332));
}

} // namespace
} // namespace velmora::image
