// ThumbnailDialog: the "サムネイル" view of a folder's pictures as a grid of 100 x 120
// thumbnails, one page at a time, each with its file name in red along its lower edge. A page
// fills in cell by cell, one cell per turn of the event loop, so taps and paging are answered
// while it fills. Tapping a thumbnail chooses its picture; OK leaves without a choice. The canvas
// and its cells are in device pixels, so thumbnails are shown one to one at every DPI.
//
// Beside the handheld's keys the view answers a desktop's habits: the wheel turns the pages, and
// on a desktop screen the arrow keys move a visible selection that Enter chooses.
//
// Object names: "thumbnailDialog", "thumbnailCanvas" (the grid), "pageScrollBar", "okButton".
#pragma once

#include "browse/folder_list.h"
#include "browse/thumbnail_cache.h"
#include "browse/thumbnail_grid.h"
#include "image/dib_image.h"

#include <QDialog>
#include <QTimer>

#include <optional>
#include <string>

class QScrollBar;

namespace velmora::browse::qt {

class ThumbnailDialog : public QDialog {
    Q_OBJECT
  public:
    // paths: the pictures in the order the open dialog lists them. With useCache set, stored
    // thumbnails are read and new ones are stored (the thumbnail-cache setting). With showAlpha,
    // transparent pictures are shown over the checkerboard.
    ThumbnailDialog(QWidget* owner, FolderList paths, bool useCache, bool showAlpha = false);

    // Runs the view modally; the chosen picture's path, or nothing after OK.
    std::optional<std::u16string> run();

    int page() const { return page_; }
    const ThumbnailGrid& grid() const { return grid_; }
    // The item the arrow keys have selected, or -1.
    int selectedItem() const { return selected_; }
    // Whether every cell of the shown page has been drawn.
    [[nodiscard]] bool pageComplete() const { return !cellTimer_.isActive() && started_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void start();
    void resizeCanvas();
    void layOut();
    void turnTo(int page);
    void drawPage();
    void drawNextCell();
    void tapAt(const QPoint& point);
    [[nodiscard]] bool handleKey(int key);
    void moveSelection(int step);
    void paintCanvas();
    qreal ratio() const;
    QRect logicalRect(const CellRect& cell) const;

    ThumbnailCacheUse cacheUse_;
    bool showAlpha_;
    FolderList paths_;
    QWidget* canvasWidget_;
    QScrollBar* scrollBar_;
    image::DibImage canvas_;
    ThumbnailGrid grid_;
    int page_ = 0;
    int nextCell_ = 0;
    int selected_ = -1;
    bool started_ = false;
    std::optional<std::u16string> chosen_;
    QTimer startTimer_;
    QTimer cellTimer_;
};

} // namespace velmora::browse::qt
