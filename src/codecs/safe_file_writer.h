// The writers' output file, named by a device path; see platform::ReplacementFile.
#pragma once

#include "platform/device_fs.h"
#include "platform/replacement_file.h"

#include <string_view>

namespace velmora::codecs {

class SafeFileWriter : public platform::ReplacementFile {
  public:
    explicit SafeFileWriter(std::u16string_view devicePath,
                            platform::Durability durability = platform::Durability::Synced)
        : ReplacementFile(platform::toHostPath(devicePath), durability) {}
};

} // namespace velmora::codecs
