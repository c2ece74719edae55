#include "platform/background_thread.h"

#include <algorithm>
#include <cerrno>

#include <sys/resource.h>
#include <unistd.h>

namespace velmora::platform {

void runBehindInterface() {
    // On Linux a nice value belongs to the thread named by its id, not to the whole process.
    const auto thread = static_cast<id_t>(gettid());
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, thread);
    if (errno == 0) {
        (void)setpriority(PRIO_PROCESS, thread, std::min(nice + kBehindNice, kLowestNice));
    }
}

} // namespace velmora::platform
