// Opening TIFF files with the library's messages kept away from the terminal: every handle made
// here has its own silent error and warning handlers, so failures come back only as results.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

typedef struct tiff TIFF;

namespace velmora::codecs {

struct TiffCloser {
    void operator()(TIFF* tiff) const;
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

// Reads a regular file of the device file system (see platform::openRegularFile).
TiffHandle openTiffForReading(std::u16string_view devicePath);
// Reads from bytes that must outlive the handle.
TiffHandle openTiffInMemory(std::span<const uint8_t> bytes);
// Writes a new file on a duplicate of the descriptor; the caller keeps its own.
TiffHandle openTiffForWriting(int descriptor);

} // namespace velmora::codecs
