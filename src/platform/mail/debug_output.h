// The platform's debug output: lines for developers, never shown to the user. They go to
// stderr unless a sink is installed (tests record them).
#pragma once

#include <functional>
#include <string_view>

namespace velmora::platform {

void debugOutput(std::string_view line);
// Installs a sink for the lines; an empty function restores stderr.
void setDebugOutputSink(std::function<void(std::string_view)> sink);

} // namespace velmora::platform
