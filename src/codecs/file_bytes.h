// A picture file read whole into memory, for the readers whose libraries decode from a buffer.
#pragma once

#include "codecs/load_result.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace velmora::codecs {

// Files above this are not read: no picture the image limits allow needs more.
inline constexpr uint64_t kMaxPictureFileBytes = uint64_t{1} << 31;

struct FileBytes {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;
    // Loaded when the bytes are here; else CannotOpen, ReadError, TooLarge (over the bound
    // above) or DecoderOutOfMemory (no buffer for them).
    LoadCause cause = LoadCause::Loaded;

    std::span<const uint8_t> bytes() const { return {data.get(), size}; }
};

FileBytes readPictureFile(std::u16string_view path);

// Reads path and hands its bytes to decode; a file that cannot be read gives its cause.
template <class Decode> LoadResult decodePictureFile(std::u16string_view path, Decode&& decode) {
    const FileBytes file = readPictureFile(path);
    return file.cause == LoadCause::Loaded ? decode(file.bytes()) : LoadResult{file.cause};
}

} // namespace velmora::codecs
