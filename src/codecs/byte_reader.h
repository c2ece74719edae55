// Reading a file piece by piece: a decoder that needs only part of a file at a time (one frame of
// an animation) reads that part instead of holding the whole file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace velmora::codecs {

class ByteReader {
  public:
    virtual ~ByteReader() = default;
    // Reads up to into.size() bytes from offset on; how many were read (fewer at the end).
    [[nodiscard]] virtual size_t readAt(uint64_t offset, std::span<uint8_t> into) = 0;
};

// The bytes, which must outlive the reader.
std::unique_ptr<ByteReader> memoryReader(std::span<const uint8_t> bytes);
// The regular file at a device path, kept open; nullptr when it cannot be opened.
std::unique_ptr<ByteReader> fileReader(std::u16string_view path);

} // namespace velmora::codecs
