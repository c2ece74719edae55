#include "image/view_compose.h"

#include "image/view_geometry.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velmora::image {
namespace {

TEST(ViewCompose, DrawPathFollowsTheDisplayedSize) {
    struct Case {
        const char* what;
        ViewState state;
        bool smooth;
        DrawPath want;
    };
    const Case cases[] = {
        {"original size, smooth on", {1000, 800, 0, 0, 0, 0}, true, DrawPath::Copy},
        {"halved, smooth on", {500, 400, 0, 0, 0, 0}, true, DrawPath::Smooth},
        {"halved, smooth off", {500, 400, 0, 0, 0, 0}, false, DrawPath::Stretch},
        {"narrower but taller", {500, 900, 0, 0, 0, 0}, true, DrawPath::Stretch},
        {"same width, lower", {1000, 400, 0, 0, 0, 0}, true, DrawPath::Stretch},
        {"enlarged", {1200, 960, 0, 0, 0, 0}, true, DrawPath::Stretch},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chooseDrawPath({1000, 800}, c.state, c.smooth), c.want) << c.what;
    }
}

class ViewComposeDrawing : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(image.create(1000, 800));
        image.fillColor(0xFFFFFF);
        ASSERT_TRUE(surface.create(240, 268));
        surface.fillColor(0x808080); // stale content that composing must clear
    }
    uint8_t at(int32_t x, int32_t y) const { return surface.row(y)[3 * x + 1]; }

    DibImage image;
    DibImage surface;
};

TEST_F(ViewComposeDrawing, ReducedViewIsSmoothOnlyWhenAllowed) {
    const ViewState state{200, 160, 20, 54, 0, 0};
    compose(surface, image, state, true, true);
    EXPECT_EQ(at(20, 54), 255);   // outer row and column of the source
    EXPECT_EQ(at(120, 134), 253); // smoothed inside
    EXPECT_EQ(at(19, 134), 0);    // black around
    EXPECT_EQ(at(120, 214), 0);

    compose(surface, image, state, false, true);
    EXPECT_EQ(at(120, 134), 255); // nearest pixel
    EXPECT_EQ(at(19, 134), 0);
}

TEST_F(ViewComposeDrawing, OriginalSizeIsCopiedAndClipped) {
    image.row(100)[3 * 300 + 1] = 7;
    compose(surface, image, {1000, 800, -300, -50, 0, 0}, true, true);
    EXPECT_EQ(at(0, 50), 7);
    EXPECT_EQ(at(1, 50), 255); // unscaled even though smooth is on
    EXPECT_EQ(at(239, 267), 255);
}

TEST_F(ViewComposeDrawing, NoImageLeavesTheSurfaceBlack) {
    DibImage none;
    compose(surface, none, {}, true, true);
    EXPECT_EQ(at(0, 0), 0);
    EXPECT_EQ(at(239, 267), 0);
    // A view reduced to nothing draws nothing either.
    compose(surface, image, {0, 0, 0, 0, 0, 0}, true, true);
    EXPECT_EQ(at(0, 0), 0);
}

TEST_F(ViewComposeDrawing, ViewComposedAheadIsWhatShowingComposesAndIsCopiedOnlyWhenItFits) {
    image.row(400)[3 * 500] = 9; // something the reduction has to carry
    const ViewRequest request{
        {240, 268},
        {Placement::Centre, SeekOrder::HorizontalFirst, 120, 160, InitialZoom::FitWhole, true}};
    ComposedView ahead;
    ASSERT_TRUE(composeInitialView(ahead, image, request));
    EXPECT_EQ(ahead.request, request);

    ViewState shown{1, 2, 3, 4, 5, 6}; // the previous picture's view, saved origin included
    ViewGeometry(shown, {1000, 800}, {240, 268}, request.options).applyInitialZoom();
    DibImage fresh;
    ASSERT_TRUE(fresh.create(240, 268));
    compose(fresh, image, shown, true, true);

    ASSERT_TRUE(copyComposedView(surface, shown, ahead));
    const size_t bytes = static_cast<size_t>(surface.stride()) * 268;
    EXPECT_EQ(std::memcmp(surface.bits(), fresh.bits(), bytes), 0);

    ViewState moved = shown;
    moved.originY += 1;
    EXPECT_FALSE(copyComposedView(surface, moved, ahead)) << "drawn somewhere else";
    DibImage other;
    ASSERT_TRUE(other.create(240, 267));
    EXPECT_FALSE(copyComposedView(other, shown, ahead)) << "another surface size";
    EXPECT_FALSE(composeInitialView(ahead, image, {})) << "no surface, nothing composed";
    EXPECT_EQ(ahead.request, ViewRequest{});
}

} // namespace
} // namespace velmora::image
