#include "app/key_mapping.h"

#include "app/input/key_bindings.h"

#include <array>
#include <utility>

namespace velmora::app {

int virtualKeyFor(int qtKey) {
    // Letters are their capital ASCII codes, as Qt numbers them too.
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return qtKey;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
        return vk::kFirstAppButton + (qtKey - Qt::Key_F1);
    }
    // '+' and '-' zoom from the main keyboard too, not only from the keypad.
    static constexpr std::array<std::pair<int, int>, 14> kKeys{{
        {Qt::Key_Backspace, vk::kBack},
        {Qt::Key_Return, vk::kReturn},
        {Qt::Key_Enter, vk::kReturn},
        {Qt::Key_Escape, vk::kEscape},
        {Qt::Key_Delete, vk::kDelete},
        {Qt::Key_Space, vk::kSpace},
        {Qt::Key_End, vk::kEnd},
        {Qt::Key_Home, vk::kHome},
        {Qt::Key_Left, vk::kLeft},
        {Qt::Key_Up, vk::kUp},
        {Qt::Key_Right, vk::kRight},
        {Qt::Key_Down, vk::kDown},
        {Qt::Key_Plus, vk::kAdd},
        {Qt::Key_Minus, vk::kSubtract},
    }};
    for (const auto& [qt, virtualKey] : kKeys) {
        if (qt == qtKey) {
            return virtualKey;
        }
    }
    return 0;
}

} // namespace velmora::app
