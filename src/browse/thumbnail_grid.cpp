#include "browse/thumbnail_grid.h"

#include "platform/device_fs.h"
#include "platform/host_names.h"

namespace velmora::browse {
namespace {

constexpr int kGap = 10;
constexpr int kMargin = 5;
constexpr size_t kCaptionLimit = 14;
constexpr size_t kCaptionKept = 12;

int scaled(int length, int dpi) {
    return (length * dpi + 48) / 96;
}

} // namespace

ThumbnailGrid layoutThumbnailGrid(int width, int height, int itemCount, int dpiX, int dpiY) {
    const int gapX = scaled(kGap, dpiX);
    const int gapY = scaled(kGap, dpiY);
    const int columns = width / (gapX + kThumbnailWidth);
    const int rows = height / (gapY + kThumbnailHeight);
    ThumbnailGrid grid;
    grid.columns = rows > 0 ? columns : 0;
    for (int r = 0; r < rows; ++r) {
        for (int j = 0; j < columns; ++j) {
            grid.cells.push_back({scaled(kMargin, dpiX) + j * (gapX + kThumbnailWidth),
                                  scaled(kMargin, dpiY) + r * (gapY + kThumbnailHeight)});
        }
    }
    if (!grid.cells.empty()) {
        const int cells = static_cast<int>(grid.cells.size());
        grid.lastPage = (itemCount + cells - 1) / cells - 1;
    }
    return grid;
}

int cellAt(const std::vector<CellRect>& cells, int x, int y) {
    for (size_t i = 0; i < cells.size(); ++i) {
        const CellRect& cell = cells[i];
        if (cell.x <= x && x < cell.x + cell.width && cell.y <= y && y < cell.y + cell.height) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::u16string thumbnailCaption(std::u16string_view path) {
    std::u16string caption = platform::shownName(platform::fileNamePart(path));
    if (caption.size() > kCaptionLimit) {
        caption.resize(kCaptionKept);
        caption += u"..";
    }
    return caption;
}

} // namespace velmora::browse
