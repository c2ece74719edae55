// The writers' output file, named by a device path; see platform::ReplacementFile.
#pragma once

#include "codecs/load_result.h"
#include "platform/device_fs.h"
#include "platform/replacement_file.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace velmora::codecs {

class SafeFileWriter : public platform::ReplacementFile {
  public:
    explicit SafeFileWriter(std::u16string_view devicePath,
                            platform::Durability durability = platform::Durability::Synced)
        : ReplacementFile(platform::toHostPath(devicePath), durability) {}
};

// Writes a whole encoded file, for the writers whose libraries encode into memory.
inline SaveResult saveEncodedBytes(std::u16string_view devicePath, std::span<const uint8_t> bytes) {
    SafeFileWriter writer(devicePath);
    return {writer.isOpen() && writer.write(bytes.data(), bytes.size()) && writer.commit()
                ? SaveCause::Saved
                : SaveCause::WriteFailed};
}

} // namespace velmora::codecs
