#include "app/input/action_table.h"

#include "app/input/key_bindings.h"

namespace velmora::app {
namespace {

using enum Handler;
using Function = settings::ButtonFunction;
using Tap = settings::DoubleTapAction;

// Command, handler, keys, Ctrl shortcut, button function, double-tap option, Ctrl+Shift shortcut.
constexpr std::array<Action, 54> kActions{{
    {Command::Close, App, {}, 'Q'},
    {Command::About, App, {}, 'A'},
    {Command::Open, Browse, {'O'}, 'O'},
    {Command::FullScreen, App},
    {Command::Exit, App},
    {Command::Next, App, {vk::kSpace, 'N'}, 0, Function::Next, Tap::Next},
    {Command::Previous, App, {vk::kBack, 'P'}, 0, Function::Previous},
    {Command::Settings, Settings},
    {Command::OriginalSize, App},
    {Command::FitWhole, App, {'E'}},
    {Command::ZoomIn, App, {vk::kAdd}, 0, Function::ZoomIn},
    {Command::ZoomOut, App, {vk::kSubtract}, 0, Function::ZoomOut},
    {Command::FileInfo, App},
    {Command::NormalScreen, App},
    {Command::Minimise, App},
    {Command::RotateScreen, App},
    {Command::NetworkConnect, Network},
    {Command::NetworkDisconnect, Network},
    {Command::FlipVertical, Edit, {'V'}},
    {Command::FlipHorizontal, Edit, {'H'}},
    {Command::Negative, Edit},
    {Command::Threshold, Edit},
    {Command::RotateLeft, Edit, {'L'}},
    {Command::RotateRight, Edit, {'R'}},
    {Command::Grey, Edit},
    {Command::Save, Files, {'S'}, 'S'},
    {Command::Copy, Files},
    {Command::Move, Files},
    {Command::Delete, Files, {vk::kDelete}},
    {Command::Mail, Mail},
    {Command::FitHeight, App},
    {Command::FitWidth, App},
    {Command::Restore, App},
    {Command::Undo, Edit, {}, 'Z'},
    {Command::Redo, Edit, {}, 'Y', Function::None, Tap::None, 'Z'},
    {Command::Contrast, Edit},
    {Command::Brightness, Edit},
    {Command::Trim, Edit},
    {Command::Blur, Edit},
    {Command::Resize, Edit},
    {Command::Sharpen, Edit},
    {Command::First, App, {vk::kHome}},
    {Command::Last, App, {vk::kEnd}},
    {Command::Emboss, Edit},
    {Command::RecentFile0, App},
    {Command::RecentFile1, App},
    {Command::RecentFile2, App},
    {Command::ToggleFullScreen, App},
    {Command::ToggleToolbar, App},
    {Command::SeekForward, App, {'F'}, 0, Function::SeekForward},
    {Command::SeekBackward, App, {'B'}, 0, Function::SeekBackward},
    {Command::ToggleWholeOriginal, App, {}, 0, Function::WholeOriginal, Tap::WholeOriginal},
    {Command::ToggleAutoFitOriginal, App, {}, 0, Function::AutoFitOriginal, Tap::AutoFitOriginal},
    {Command::PopupMenu, App, {vk::kReturn}, 0, Function::None, Tap::PopupMenu},
}};

} // namespace

std::span<const Action> actionTable() {
    return kActions;
}

const Action* actionForKey(int virtualKey) {
    const auto found = std::ranges::find_if(kActions, [virtualKey](const Action& action) {
        return std::ranges::count(action.keys, virtualKey) > 0;
    });
    return virtualKey == 0 || found == kActions.end() ? nullptr : &*found;
}

} // namespace velmora::app
