// What the interface thread does while a mail transport waits for a program: the window keeps
// painting instead of freezing. Without a pump installed the wait simply sleeps.
#pragma once

#include <functional>

namespace velmora::platform {

// Installs the pump (an empty function removes it). It is called every few milliseconds while
// a transport waits, on the thread that waits.
void setWaitPump(std::function<void()> pump);
void pumpWhileWaiting();

} // namespace velmora::platform
