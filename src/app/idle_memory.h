// Gives back the pixel buffers kept for the next picture (image/spare_pixels.h) when the window
// is minimised or has had no input for a while: nobody is paging then.
#pragma once

#include <QObject>
#include <QTimer>

class QWidget;

namespace velmora::app {

class IdleMemory : public QObject {
  public:
    explicit IdleMemory(QWidget& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    QTimer idle_;
};

} // namespace velmora::app
