// The desktop message bus as the toolkit will find it. With no session bus address and no bus
// socket in the runtime folder, the bus library falls back to starting dbus-launch from a forked
// copy of the process; where that program is not installed the child fails, after forking the
// whole viewer in front of its first frame (the toolkit asks the bus whether assistive tools run).
#pragma once

namespace velmora::platform {

// Where no session bus can be reached or started, says so in the environment ("disabled:") so
// the library gives up at once, as it would anyway; otherwise changes nothing. Call before the
// application object exists.
void markUnreachableSessionBus();

} // namespace velmora::platform
