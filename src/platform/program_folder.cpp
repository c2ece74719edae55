#include "platform/program_folder.h"

#include "platform/device_fs.h"

#include <filesystem>

namespace velmora::platform {

std::u16string programFolder() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    const auto folder = error ? std::nullopt : toDevicePath(executable.parent_path());
    if (!folder || *folder == u"\\") {
        return u"\\";
    }
    return *folder + u'\\';
}

} // namespace velmora::platform
