#include "platform/mail/debug_output.h"

#include <cstdio>

namespace velmora::platform {
namespace {

std::function<void(std::string_view)>& sink() {
    static std::function<void(std::string_view)> installed;
    return installed;
}

} // namespace

void debugOutput(std::string_view line) {
    if (sink()) {
        sink()(line);
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void setDebugOutputSink(std::function<void(std::string_view)> sink_) {
    sink() = std::move(sink_);
}

} // namespace velmora::platform
