// The trim dialog (切り取り): OK, キャンセル and the caption 切取範囲の選択 ("text1051") in a
// header 30/96 inch high, below it the whole picture reduced to fit ("trimPreview", a small one
// at 1:1, in device pixels) on which the stylus drags a red outline.
#pragma once

#include "edit/trim_selection.h"
#include "image/dib_image.h"

#include <QDialog>

#include <functional>
#include <optional>

namespace velmora::edit::qt {

// Milliseconds from a steady clock (the platform's tick count; tests give their own).
using TickSource = std::function<uint32_t()>;

class TrimPreview : public QWidget {
    Q_OBJECT
  public:
    TrimPreview(const image::DibImage& picture, TickSource ticks, QWidget* parent);
    const TrimSelection& selection() const { return selection_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    PreviewPoint pointOf(const QMouseEvent& event) const;

    const image::DibImage& picture_;
    TickSource ticks_;
    TrimSelection selection_;
    image::DibImage buffer_;
};

class TrimDialog : public QDialog {
    Q_OBJECT
  public:
    TrimDialog(const image::DibImage& picture, QWidget* parent, TickSource ticks = {});
    // The dragged rectangle in picture pixels (empty after a tap).
    TrimRect rect() const { return preview_->selection().rect(); }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* ok_;
    QWidget* cancel_;
    QWidget* caption_;
    TrimPreview* preview_;
};

// The rectangle chosen, or nothing when cancelled.
std::optional<TrimRect> askTrimRect(const image::DibImage& picture, QWidget* parent);

} // namespace velmora::edit::qt
