#include "browse/thumbnail_grid.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using browse::CellRect;

TEST(ThumbnailGrid, HandheldScreenHoldsFourCellsAtTheirPositions) {
    const auto grid = browse::layoutThumbnailGrid(240, 268, 9, 96, 96);
    EXPECT_EQ(grid.cells, (std::vector<CellRect>{{5, 5}, {115, 5}, {5, 135}, {115, 135}}));
    EXPECT_EQ(grid.lastPage, 2);
    EXPECT_EQ(browse::layoutThumbnailGrid(240, 268, 8, 96, 96).lastPage, 1);
    EXPECT_EQ(browse::layoutThumbnailGrid(240, 268, 0, 96, 96).lastPage, -1);
    // Gaps and margins scale with the screen; the cells do not.
    const auto wide = browse::layoutThumbnailGrid(480, 536, 1, 192, 192);
    ASSERT_EQ(wide.cells.size(), 12u);
    EXPECT_EQ(wide.cells[1], (CellRect{10 + 120, 10}));
    EXPECT_TRUE(browse::layoutThumbnailGrid(109, 500, 3, 96, 96).cells.empty());
}

TEST(ThumbnailGrid, TapFindsTheCellUnderIt) {
    const auto cells = browse::layoutThumbnailGrid(240, 268, 4, 96, 96).cells;
    EXPECT_EQ(browse::cellAt(cells, 5, 5), 0);
    EXPECT_EQ(browse::cellAt(cells, 214, 254), 3);
    EXPECT_EQ(browse::cellAt(cells, 105, 50), -1); // the gap
    EXPECT_EQ(browse::cellAt(cells, 215, 50), -1); // just past the right cell
}

TEST(ThumbnailGrid, CaptionsLongerThanFourteenAreCut) {
    EXPECT_EQ(browse::thumbnailCaption(u"\\A\\abcdefghij.jpg"), u"abcdefghij.jpg");
    EXPECT_EQ(browse::thumbnailCaption(u"\\A\\abcdefghijk.jpg"), u"abcdefghijk...");
}

} // namespace
} // namespace velmora::test
