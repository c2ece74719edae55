// The bitmap reader: Windows bitmap files with information headers of 40 to 124 bytes; 1, 4 and
// 8 bits through a full or shorter colour table, uncompressed or run-length encoded (RLE8, RLE4);
// 16 and 32 bits as 5-5-5 and blue-green-red or through colour masks; 24 bits; rows bottom-up
// or, uncompressed, top-down. Alpha is dropped. Pixels that run-length data leaves unwritten take
// palette entry 0, and indices past a short table are black. loadBmp (readers.h) reads a device
// file through it; decodeBmpFromMemory serves in-memory data.
#pragma once

#include "codecs/load_result.h"
#include "image/dib_image.h"

#include <cstddef>
#include <cstdint>

namespace velmora::codecs::bmp {

// Sequential bytes of a bitmap file.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Reads exactly length bytes; false when fewer are left.
    virtual bool read(uint8_t* destination, size_t length) = 0;
    // Passes over length bytes; false when fewer are left.
    virtual bool skip(uint64_t length) = 0;
};

// Creates the image at the file's size and fills it; Faulty for data that is not a bitmap this
// reader takes.
LoadResult decodeBmp(image::DibImage& image, ByteSource& source);
LoadResult decodeBmpFromMemory(image::DibImage& image, const uint8_t* data, size_t size);

} // namespace velmora::codecs::bmp
