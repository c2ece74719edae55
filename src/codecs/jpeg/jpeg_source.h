// Where the decompressor takes its bytes from: a file, read one block at a time, or a block of
// memory. Both end a file that stops early with a warning and an end-of-image marker, so a
// truncated picture decodes to its end; a source without a single byte is a fatal error.
#pragma once

#include "codecs/jpeg/jpeg_library.h"

#include <cstdint>

namespace velmora::codecs::jpeg {

// The library decodes entropy-coded data on its fast path only while several kilobytes (up to
// 512 bytes a block of the MCU) are buffered; with 4096-byte blocks most MCUs would take the
// slow path, costing about a tenth of a reduced decode.
inline constexpr size_t kFileBufferSize = size_t{64} << 10;

struct FileSource {
    jpeg_source_mgr library; // first member: the library hands back its address
    std::FILE* file = nullptr;
    bool atStart = true;
    JOCTET buffer[kFileBufferSize];
};

struct MemorySource {
    jpeg_source_mgr library;
    size_t size = 0;
};

// The returned record goes into the decompressor's src field; the source must outlive its use.
jpeg_source_mgr* prepareFileSource(FileSource& source, std::FILE* file);
jpeg_source_mgr* prepareMemorySource(MemorySource& source, const uint8_t* data, size_t size);

} // namespace velmora::codecs::jpeg
