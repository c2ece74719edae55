// The main window: paints the composition surface unscaled and hands its events to ViewerApp.
// The two bars are its children, placed by ViewerApp.
#pragma once

#include "ui/command.h"

#include <QWidget>

namespace velmora::app {

class ViewerApp;

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(ViewerApp& app);

    // Schedules a repaint of the area the composition surface covers: a new picture or view
    // leaves the bars as they are.
    void updatePicture();

  signals:
    // The window has been exposed and painted for the first time.
    void firstPainted();

  protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void addAccelerator(const QKeySequence& keys, ui::Command command);
    QPoint devicePoint(const QMouseEvent& event) const;

    ViewerApp& app_;
    bool painted_ = false;
    double touchpadScale_ = 1; // total scale of the touchpad pinch under way
};

} // namespace velmora::app
