// The bottom menu bar: drop-down buttons "ファイル", "編集", "ヘルプ" and the icon buttons
// open, settings, file information and toolbar toggle.
#pragma once

#include "app/menu_builder.h"
#include "ui/string_table.h"

#include <QToolBar>

namespace velmora::app {

class MenuBar : public QToolBar {
    Q_OBJECT
  public:
    MenuBar(QWidget* parent, const CommandSink& onCommand);

    QMenu& fileMenu() const { return *fileMenu_; }
    // "最近のファイル" inside the File menu.
    QMenu& recentMenu() const;

  signals:
    // The File drop-down is about to open.
    void fileMenuAboutToShow();

  private:
    QMenu* addDropDown(ui::StringId textId, const char* name, const std::vector<MenuItem>& items,
                       const CommandSink& onCommand);

    QMenu* fileMenu_ = nullptr;
};

} // namespace velmora::app
