// Qt keys to the handheld's virtual-key numbers: the one table the key handling goes through.
// The application buttons 1 to 12 are the keys F1 to F12.
#pragma once

#include <Qt>

namespace velmora::app {

// 0 for a key the viewer has no number for.
int virtualKeyFor(int qtKey);

} // namespace velmora::app
