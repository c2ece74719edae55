#include "app/input/button_function.h"

namespace velmora::app {

const std::array<const char16_t*, 17> buttonFunctionNames{
    u"<なし>",           u"拡大",     u"縮小",   u"次へ",   u"前へ",   u"順シーク",
    u"逆シーク",         u"全体表示", u"左移動", u"右移動", u"上移動", u"下移動",
    u"自動フィット表示", u"左矢印",   u"右矢印", u"上矢印", u"下矢印",
};

void runButtonFunction(int32_t code, InputActions& actions, const settings::AppSettings& settings) {
    switch (static_cast<ButtonFunction>(code)) {
    case ButtonFunction::ZoomIn:
        actions.zoomIn();
        break;
    case ButtonFunction::ZoomOut:
        actions.zoomOut();
        break;
    case ButtonFunction::Next:
        actions.showNext();
        break;
    case ButtonFunction::Previous:
        actions.showPrevious();
        break;
    case ButtonFunction::SeekForward:
        actions.seekForward();
        break;
    case ButtonFunction::SeekBackward:
        actions.seekBackward();
        break;
    case ButtonFunction::WholeOriginal:
        actions.toggleWholeOriginal();
        break;
    case ButtonFunction::MoveLeft:
        actions.moveView(MoveDirection::Left, settings.xMove);
        break;
    case ButtonFunction::MoveRight:
        actions.moveView(MoveDirection::Right, settings.xMove);
        break;
    case ButtonFunction::MoveUp:
        actions.moveView(MoveDirection::Up, settings.yMove);
        break;
    case ButtonFunction::MoveDown:
        actions.moveView(MoveDirection::Down, settings.yMove);
        break;
    case ButtonFunction::AutoFitOriginal:
        actions.toggleAutoFitOriginal();
        break;
    case ButtonFunction::None:
    default:
        break;
    }
}

} // namespace velmora::app
