// The font the Japanese interface text is drawn in.
#pragma once

#include <QString>

namespace velmora::platform::qt {

// The family fontconfig picks for Japanese sans-serif text, when that font covers Japanese;
// empty otherwise. Looked up once, on the first call from any thread.
//
// Text given this family as its only one is drawn in it whole, kana and kanji alike: with the
// desktop's default family the toolkit takes kanji from a fallback it picks for Chinese, and
// searches every installed font for that fallback before the first text is measured.
QString japaneseUiFamily();

} // namespace velmora::platform::qt
