// The one table of commands: for each, who serves it and the keys, Ctrl shortcuts, button function
// and double-tap option bound to it. Menus, bar buttons, keys, hardware buttons and double taps
// all end in ViewerApp::onCommand, which looks the command up here.
#pragma once

#include "settings/app_settings.h"
#include "ui/command.h"

#include <algorithm>
#include <array>
#include <span>

namespace velmora::app {

using ui::Command;

// The controller that serves a command; App for the window, view and navigation commands.
enum class Handler { App, Browse, Edit, Files, Mail, Network, Settings };

struct Action {
    Command command;
    Handler handler;
    std::array<int, 2> keys{}; // virtual keys, 0 for none
    int ctrlKey = 0;           // the letter of its Ctrl shortcut, 0 for none
    settings::ButtonFunction button = settings::ButtonFunction::None;
    settings::DoubleTapAction doubleTap = settings::DoubleTapAction::None;
    int ctrlShiftKey = 0; // the letter of its Ctrl+Shift shortcut, 0 for none
};

std::span<const Action> actionTable();

// The action whose member has the value, or nullptr; a zero value (no key, no function, no
// option) names no action.
template <class Member, class Value>
const Action* findAction(Member Action::*member, const Value& value) {
    const auto table = actionTable();
    const auto found = std::ranges::find(table, value, member);
    return value == Value{} || found == table.end() ? nullptr : &*found;
}

// The action a plain key press runs, or nullptr.
const Action* actionForKey(int virtualKey);

} // namespace velmora::app
