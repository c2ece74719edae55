// Runs a program with bytes on its standard input, the way a mail submission program is fed.
// It never hangs: writes are non-blocking, a program that stops reading or never exits is
// killed with its process group when the time is up, and the wait pump (wait_pump.h) runs
// throughout the wait.
#pragma once

#include "platform/mail/mime_message.h"

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

// argv[0] is the program's path (no search). True only when the program took all of input
// and exited with status 0 before the timeout.
[[nodiscard]] bool runWithInput(const std::vector<std::string>& argv, const MimeWriter& input,
                                std::chrono::milliseconds timeout);
[[nodiscard]] bool runWithInput(const std::vector<std::string>& argv, std::string_view input,
                                std::chrono::milliseconds timeout);

} // namespace velmora::platform
