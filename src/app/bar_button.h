// Shared by the two bars: an icon button that sends a command.
#pragma once

#include "app/menu_builder.h"

#include <QToolBar>

namespace velmora::app {

struct BarButton {
    ui::Command command;
    const char16_t* tooltip;
    const char* icon; // resource path below ":/velmora/"
};

// Adds the button to the bar; its widget is named "button<command>".
QAction* addBarButton(QToolBar& bar, const BarButton& button, const CommandSink& onCommand);

// The side of a bar's icons, in Qt's window coordinates: no bar is lower than its icons.
inline constexpr int kBarIconSide = 16;

// A bar fixed to the bottom of the window (no moving, no floating, no handle).
void setUpFixedBar(QToolBar& bar, const char* objectName);

} // namespace velmora::app
