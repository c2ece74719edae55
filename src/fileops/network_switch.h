// The check of the network folder switch that the connect command runs first: the network
// folder is shown only while the redirector's switch is on, and switching it on takes effect
// at the next start.
#pragma once

namespace velmora::fileops {

// True when the switch is on. Otherwise asks kNetworkHidden; on Yes turns the switch on and shows
// kSoftResetNeeded, or kOperationFailed when the switch could not be stored. False in every case
// but the first (the connection waits for the restart).
[[nodiscard]] bool checkNetworkFolderSwitch();

} // namespace velmora::fileops
