// The navigation command bar above the menu bar: first, previous, next, last, zoom in, zoom out,
// whole/original, seek forward, seek backward.
#pragma once

#include "app/menu_builder.h"
#include "app/nav_rules.h"

#include <QToolBar>

namespace velmora::app {

class NavToolbar : public QToolBar {
    Q_OBJECT
  public:
    NavToolbar(QWidget* parent, const CommandSink& onCommand);

    // Greys or enables first, previous, next and last.
    void setNavStates(const NavButtonStates& states);

  private:
    QAction* first_ = nullptr;
    QAction* previous_ = nullptr;
    QAction* next_ = nullptr;
    QAction* last_ = nullptr;
};

} // namespace velmora::app
