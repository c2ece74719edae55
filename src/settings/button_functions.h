// The actions a hardware button or an arrow key can be given: the codes the settings store
// (BTNFUNC1..BTNFUNC12, KEYFUNC0..KEYFUNC3) and the names the settings sheet shows for them.
#pragma once

#include <array>
#include <cstdint>

namespace velmora::settings {

enum class ButtonFunction : int32_t {
    None = 0,
    ZoomIn = 1,
    ZoomOut = 2,
    Next = 3,
    Previous = 4,
    SeekForward = 5,
    SeekBackward = 6,
    WholeOriginal = 7,
    MoveLeft = 8,
    MoveRight = 9,
    MoveUp = 10,
    MoveDown = 11,
    AutoFitOriginal = 12,
};

// Display names in code order, then the names of the four arrow keys (left, right, up, down).
inline constexpr std::array<const char16_t*, 17> buttonFunctionNames{
    u"<なし>",           u"拡大",     u"縮小",   u"次へ",   u"前へ",   u"順シーク",
    u"逆シーク",         u"全体表示", u"左移動", u"右移動", u"上移動", u"下移動",
    u"自動フィット表示", u"左矢印",   u"右矢印", u"上矢印", u"下矢印",
};

} // namespace velmora::settings
