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

ViewOptions seekOptions(SeekOrder seekOrder, Placement placement, int32_t seekStepX,
                        int32_t seekStepY) {
    ViewOptions options;
    options.seekOrder = seekOrder;
    options.placement = placement;
    options.seekStepX = seekStepX;
    options.seekStepY = seekStepY;
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
                      seekOptions(SeekOrder::HorizontalFirst, Placement::TopRight, 120, 160));
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
        SeekOrder seekOrder;
        Placement placement;
        std::vector<Position> forward;  // from the initial placement
        std::vector<Position> backward; // from the reading end
    };
    const Case cases[] = {
        {SeekOrder::HorizontalFirst,
         Placement::TopLeft,
         {{-200, 0}, {0, -200}, {-200, -200}},
         {{0, -200}, {-200, 0}, {0, 0}}},
        {SeekOrder::HorizontalFirst,
         Placement::Centre,
         {{-200, -100}, {0, -200}, {-200, -200}},
         {{0, -200}, {-200, 0}, {0, 0}}},
        {SeekOrder::HorizontalFirst,
         Placement::TopRight,
         {{0, 0}, {-200, -200}, {0, -200}},
         {{-200, -200}, {0, 0}, {-200, 0}}},
        {SeekOrder::VerticalFirst,
         Placement::TopLeft,
         {{0, -200}, {-200, 0}, {-200, -200}},
         {{-200, 0}, {0, -200}, {0, 0}}},
        {SeekOrder::VerticalFirst,
         Placement::Centre,
         {{-100, -200}, {-200, 0}, {-200, -200}},
         {{-200, 0}, {0, -200}, {0, 0}}},
        {SeekOrder::VerticalFirst,
         Placement::TopRight,
         {{-200, -200}, {0, 0}, {0, -200}},
         {{0, 0}, {-200, -200}, {-200, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "seekOrder " << static_cast<int>(c.seekOrder)
                                        << " placement " << static_cast<int>(c.placement));
        ViewState state;
        ViewGeometry view(state, {400, 400}, {200, 200},
                          seekOptions(c.seekOrder, c.placement, 200, 200));
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
    for (SeekOrder seekOrder : {SeekOrder::HorizontalFirst, SeekOrder::VerticalFirst}) {
        for (Placement placement : {Placement::TopLeft, Placement::Centre, Placement::TopRight}) {
            ViewState state;
            ViewGeometry view(state, {200, 150}, {240, 268},
                              seekOptions(seekOrder, placement, 120, 160));
            view.showOriginalSize(false);
            EXPECT_EQ(view.seekForward(), SeekResult::ShowNext);
            view.showOriginalSize(false);
            EXPECT_EQ(view.seekBackward(), SeekResult::ShowPrevious);
            const ViewState before = state;
            view.showReadingEnd();
            EXPECT_EQ(state, before)
                << static_cast<int>(seekOrder) << " " << static_cast<int>(placement);
        }
    }
}

TEST(ViewSeek, DeclinedWrapAtTheFirstPictureJumpsToItsBottom) {
    // Backward at the top of a tall picture, with nothing else loaded: the same picture stays
    // and the caller asks for its reading end.
    ViewState state;
    ViewGeometry view(state, {200, 600}, {240, 268},
                      seekOptions(SeekOrder::HorizontalFirst, Placement::TopRight, 120, 160));
    view.showOriginalSize(false);
    ASSERT_EQ(view.seekBackward(), SeekResult::ShowPrevious);
    view.showReadingEnd();
    EXPECT_EQ(origin(state), Position(40, -332));
}

} // namespace
} // namespace velmora::image
