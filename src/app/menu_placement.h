// On an emulated screen the main window is the whole screen: every menu that opens (drop-downs,
// the pop-up menu and their sub-menus) is kept inside it, not just inside the host's screen.
#pragma once

#include <QObject>

class QWidget;

namespace velmora::app {

class MenuPlacement : public QObject {
    Q_OBJECT
  public:
    // Watches every menu of the application for as long as it lives.
    explicit MenuPlacement(QWidget& screenWindow);
    ~MenuPlacement() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& screenWindow_;
};

} // namespace velmora::app
