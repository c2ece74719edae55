// The thumbnail view's page arithmetic: where the 100 x 120 cells of one page lie on a canvas,
// how many pages the items fill, which cell a tap hits, and the caption under each thumbnail.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora::browse {

inline constexpr int kThumbnailWidth = 100; // device pixels, not scaled
inline constexpr int kThumbnailHeight = 120;

struct CellRect {
    int x = 0;
    int y = 0;
    int width = kThumbnailWidth;
    int height = kThumbnailHeight;
    bool operator==(const CellRect&) const = default;
};

struct ThumbnailGrid {
    std::vector<CellRect> cells; // one page, row by row, left to right
    int columns = 0;
    int lastPage = 0; // -1 for no items on at least one cell
};

// Lays the cells out on a canvas of width x height with gaps of 10 and margins of 5 (lengths at
// 96 pixels per inch, scaled by the screen's dpi).
ThumbnailGrid layoutThumbnailGrid(int width, int height, int itemCount, int dpiX, int dpiY);

// The index of the cell holding the point, or -1.
int cellAt(const std::vector<CellRect>& cells, int x, int y);

// The name part of a path, cut to its first 12 characters and ".." when longer than 14.
std::u16string thumbnailCaption(std::u16string_view path);

} // namespace velmora::browse
