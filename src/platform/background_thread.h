// Work that runs behind the interface: decoding ahead, composing ahead.
#pragma once

namespace velmora::platform {

// Ten steps below the thread's own nice value (at most the lowest, 19): about a tenth of the share
// of the interface thread on a shared processor.
inline constexpr int kBehindNice = 10;
inline constexpr int kLowestNice = 19;

// Lowers the calling thread's scheduling priority by kBehindNice, so that on a busy machine the
// interface thread and the display server get the processor first and a key is answered while the
// thread works. An idle processor still runs it at full speed. Nothing happens where it is refused.
void runBehindInterface();

} // namespace velmora::platform
