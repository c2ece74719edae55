#include "platform/file_faults.h"

#include <cerrno>

namespace velmora::platform {
namespace {

FileFaultHook& installedHook() {
    static FileFaultHook hook;
    return hook;
}

} // namespace

void setFileFaultHook(FileFaultHook hook) {
    installedHook() = std::move(hook);
}

int injectedFault(FileStep step) {
    const FileFaultHook& hook = installedHook();
    const int fault = hook ? hook(step) : 0;
    if (fault != 0) {
        errno = fault;
    }
    return fault;
}

} // namespace velmora::platform
