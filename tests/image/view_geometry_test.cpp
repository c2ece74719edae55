#include "image/view_geometry.h"

#include <gtest/gtest.h>

namespace velmora::image {
namespace {

constexpr ViewSize kHandheld{240, 268};

struct Placed {
    int32_t width, height, x, y;
};

Placed placed(const ViewState& s) {
    return {s.displayWidth, s.displayHeight, s.originX, s.originY};
}

void expectPlaced(const ViewState& s, Placed want, const char* what) {
    EXPECT_EQ(s.displayWidth, want.width) << what;
    EXPECT_EQ(s.displayHeight, want.height) << what;
    EXPECT_EQ(s.originX, want.x) << what;
    EXPECT_EQ(s.originY, want.y) << what;
}

ViewOptions withOrigin(Placement placement) {
    ViewOptions options;
    options.placement = placement;
    return options;
}

TEST(ViewGeometry, ZoomModesPlaceTheImageByVOrigin) {
    struct Case {
        const char* what;
        ViewSize image;
        InitialZoom initialZoom;
        Placement placement;
        Placed want;
    };
    const Case cases[] = {
        {"whole, top right",
         {640, 480},
         InitialZoom::FitWhole,
         Placement::TopRight,
         {240, 180, 0, 0}},
        {"whole, centre", {640, 480}, InitialZoom::FitWhole, Placement::Centre, {240, 180, 0, 44}},
        {"whole, portrait, top right",
         {1200, 1600},
         InitialZoom::FitWhole,
         Placement::TopRight,
         {201, 268, 39, 0}},
        {"whole, portrait, centre",
         {1200, 1600},
         InitialZoom::FitWhole,
         Placement::Centre,
         {201, 268, 19, 0}},
        {"whole, portrait, top left",
         {1200, 1600},
         InitialZoom::FitWhole,
         Placement::TopLeft,
         {201, 268, 0, 0}},
        {"height, top right",
         {640, 480},
         InitialZoom::FitHeight,
         Placement::TopRight,
         {357, 268, -117, 0}},
        {"height, centre",
         {640, 480},
         InitialZoom::FitHeight,
         Placement::Centre,
         {357, 268, -58, 0}},
        {"height, top left",
         {640, 480},
         InitialZoom::FitHeight,
         Placement::TopLeft,
         {357, 268, 0, 0}},
        {"width, centre", {640, 480}, InitialZoom::FitWidth, Placement::Centre, {240, 180, 0, 44}},
        {"width, tall, centre",
         {1200, 1600},
         InitialZoom::FitWidth,
         Placement::Centre,
         {240, 320, 0, -26}},
        {"auto, portrait",
         {1200, 1600},
         InitialZoom::AutoFit,
         Placement::TopRight,
         {240, 320, 0, 0}},
        {"auto, portrait, centre",
         {1200, 1600},
         InitialZoom::AutoFit,
         Placement::Centre,
         {240, 320, 0, -26}},
        {"auto, landscape",
         {640, 480},
         InitialZoom::AutoFit,
         Placement::TopRight,
         {357, 268, -117, 0}},
        {"auto, landscape, centre",
         {640, 480},
         InitialZoom::AutoFit,
         Placement::Centre,
         {357, 268, -58, 0}},
        {"original, wide, top right",
         {640, 480},
         InitialZoom::Original,
         Placement::TopRight,
         {640, 480, -400, 0}},
        {"original, wide, centre",
         {640, 480},
         InitialZoom::Original,
         Placement::Centre,
         {640, 480, -200, -106}},
        {"unknown mode is original",
         {640, 480},
         InitialZoom{9},
         Placement::TopLeft,
         {640, 480, 0, 0}},
        // Auto fit needs the image larger in both directions.
        {"auto, only wider",
         {640, 200},
         InitialZoom::AutoFit,
         Placement::TopRight,
         {640, 200, -400, 0}},
    };
    for (const Case& c : cases) {
        ViewState state;
        ViewOptions options = withOrigin(c.placement);
        options.initialZoom = c.initialZoom;
        ViewGeometry(state, c.image, kHandheld, options).applyInitialZoom();
        expectPlaced(state, c.want, c.what);
    }
}

TEST(ViewGeometry, FitsNeverEnlargeASmallImage) {
    struct Case {
        Placement placement;
        Placed want;
    };
    const Case cases[] = {{Placement::TopRight, {200, 150, 40, 0}},
                          {Placement::Centre, {200, 150, 20, 59}},
                          {Placement::TopLeft, {200, 150, 0, 0}}};
    for (const Case& c : cases) {
        for (InitialZoom mode : {InitialZoom::FitHeight, InitialZoom::FitWidth,
                                 InitialZoom::FitWhole, InitialZoom::AutoFit}) {
            ViewState state;
            ViewOptions options = withOrigin(c.placement);
            options.initialZoom = mode;
            ViewGeometry(state, {200, 150}, kHandheld, options).applyInitialZoom();
            expectPlaced(state, c.want, "small image");
        }
    }
}

TEST(ViewGeometry, NoImageLeavesAnEmptyViewAndDoesNotZoom) {
    for (InitialZoom mode : {InitialZoom::FitHeight, InitialZoom::FitWidth, InitialZoom::FitWhole,
                             InitialZoom::AutoFit}) {
        ViewState state;
        ViewOptions options = withOrigin(Placement::Centre);
        options.initialZoom = mode;
        ViewGeometry view(state, {0, 0}, kHandheld, options);
        view.applyInitialZoom();
        EXPECT_EQ(state.displayWidth, 0);
        EXPECT_EQ(state.displayHeight, 0);
        const ViewState before = state;
        EXPECT_FALSE(view.zoomIn());
        EXPECT_FALSE(view.zoomOut());
        EXPECT_EQ(state, before);
    }
}

TEST(ViewGeometry, ClampKeepsOriginInScrollRangeAndLeavesSavedOrigin) {
    ViewState state{640, 480, 50, -1000, 7, 9};
    ViewGeometry(state, {640, 480}, kHandheld, withOrigin(Placement::TopRight)).clampOrigin();
    expectPlaced(state, {640, 480, 0, -212}, "clamped to both ends");
    EXPECT_EQ(state.savedOriginX, 7);
    EXPECT_EQ(state.savedOriginY, 9);

    // Not larger: placed by placement, whatever the origin was.
    ViewState small{100, 50, -30, -30, 0, 0};
    ViewGeometry(small, {100, 50}, kHandheld, withOrigin(Placement::TopRight)).clampOrigin();
    expectPlaced(small, {100, 50, 140, 0}, "top right");
    ViewGeometry(small, {100, 50}, kHandheld, withOrigin(Placement::Centre)).clampOrigin();
    expectPlaced(small, {100, 50, 70, 109}, "centre");
}

TEST(ViewGeometry, ZoomStepsStopAtTheLimits) {
    ViewState state{295, 236, 0, 0, 0, 0}; // scale 2.95 of 100 x 80
    ViewGeometry view(state, {100, 80}, kHandheld, withOrigin(Placement::TopLeft));
    ASSERT_TRUE(view.zoomIn());
    EXPECT_EQ(state.displayWidth, 300);
    EXPECT_EQ(state.displayHeight, 240);
    ASSERT_TRUE(view.zoomIn());
    EXPECT_EQ(state.displayWidth, 300);

    state = {25, 20, 0, 0, 0, 0}; // scale 0.25
    ASSERT_TRUE(view.zoomOut());
    EXPECT_EQ(state.displayWidth, 20);
    EXPECT_EQ(state.displayHeight, 16);
    ASSERT_TRUE(view.zoomOut());
    EXPECT_EQ(state.displayWidth, 20);
}

TEST(ViewGeometry, ZoomKeepsThePointUnderTheCentre) {
    ViewState state{1000, 800, -380, -266, 0, 0};
    ViewGeometry view(state, {1000, 800}, kHandheld, withOrigin(Placement::TopRight));
    for (int i = 0; i < 5; ++i) {
        const double s = state.displayWidth / 1000.0;
        const double cx = (120 - state.originX) / s, cy = (134 - state.originY) / s;
        ASSERT_TRUE(i < 3 ? view.zoomIn() : view.zoomOut());
        const double s2 = state.displayWidth / 1000.0;
        EXPECT_NEAR((120 - state.originX) / s2, cx, 1.5) << "step " << i;
        EXPECT_NEAR((134 - state.originY) / s2, cy, 1.5) << "step " << i;
    }
}

TEST(ViewGeometry, ZoomInTakesTheExactCentreAndZoomOutTheIntegerHalf) {
    // Surface 241 wide: the centre is 120.5 for zoomIn and 120 for zoomOut. At scale 0.5 the
    // half pixel becomes a whole image pixel, which decides the truncation here.
    const ViewSize surface{241, 241};
    ViewState state{1000, 1000, -379, -379, 0, 0};
    ViewGeometry view(state, {2000, 2000}, surface, withOrigin(Placement::TopLeft));
    ASSERT_TRUE(view.zoomIn()); // point 999 * 0.6 = 599.4
    EXPECT_EQ(state.originX, 120 - 599);
    EXPECT_EQ(state.originY, 120 - 599);

    state = {1000, 1000, -381, -381, 0, 0};
    ASSERT_TRUE(view.zoomOut()); // point 1002 * 0.4 = 400.8
    EXPECT_EQ(state.originX, 120 - 400);
    EXPECT_EQ(state.originY, 120 - 400);
}

TEST(ViewGeometry, ZoomOnAViewShowingNothingStaysDefined) {
    // A 1 x 5000 image fitted to a 268 high surface is 0 pixels wide.
    ViewState state;
    ViewGeometry view(state, {1, 5000}, kHandheld, withOrigin(Placement::Centre));
    view.fitHeight();
    ASSERT_EQ(state.displayWidth, 0);
    ASSERT_TRUE(view.zoomIn());
    EXPECT_EQ(state.displayHeight, 500); // 5000 * 0.1
    EXPECT_EQ(state.originY, 134 - 250); // about the image centre
}

TEST(ViewGeometry, MoveViewScrollsOnlyALargerImage) {
    ViewState state{640, 200, -100, 34, 0, 0};
    ViewGeometry view(state, {640, 200}, kHandheld, withOrigin(Placement::Centre));
    EXPECT_FALSE(view.moveView(MoveDirection::Up, 32));
    EXPECT_FALSE(view.moveView(MoveDirection::Down, 32));
    EXPECT_EQ(state.originY, 34);

    EXPECT_TRUE(view.moveView(MoveDirection::Left, 32));
    EXPECT_EQ(state.originX, -68);
    EXPECT_TRUE(view.moveView(MoveDirection::Left, 500));
    EXPECT_EQ(state.originX, 0);
    EXPECT_TRUE(view.moveView(MoveDirection::Right, 1000));
    EXPECT_EQ(state.originX, -400);
}

TEST(ViewGeometry, TogglesReturnToTheSavedScrollPosition) {
    using Toggle = void (ViewGeometry::*)();
    for (Toggle toggle :
         {&ViewGeometry::toggleWholeOriginal, &ViewGeometry::toggleAutoFitOriginal}) {
        ViewState state;
        ViewGeometry view(state, {640, 480}, kHandheld, withOrigin(Placement::TopRight));
        view.showOriginalSize(false);
        ASSERT_TRUE(view.moveView(MoveDirection::Left, 100));
        ASSERT_TRUE(view.moveView(MoveDirection::Down, 50));
        const Placed scrolled = placed(state);
        (view.*toggle)();
        EXPECT_NE(state.displayWidth, 640);
        (view.*toggle)();
        expectPlaced(state, scrolled, "back to original size");
    }
}

} // namespace
} // namespace velmora::image
