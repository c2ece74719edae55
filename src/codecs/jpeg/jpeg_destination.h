// Where the compressor puts its bytes: a SafeFileWriter, in blocks of 4096 bytes. A write that
// does not take every byte is a fatal library error.
#pragma once

#include "codecs/jpeg/jpeg_library.h"
#include "codecs/safe_file_writer.h"

namespace velmora::codecs::jpeg {

inline constexpr size_t kDestinationBufferSize = 4096;

struct WriterDestination {
    jpeg_destination_mgr library; // first member: the library hands back its address
    SafeFileWriter* writer = nullptr;
    JOCTET buffer[kDestinationBufferSize];
};

// The returned record goes into the compressor's dest field.
jpeg_destination_mgr* prepareDestination(WriterDestination& destination, SafeFileWriter& writer);

} // namespace velmora::codecs::jpeg
