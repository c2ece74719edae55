// Reading a whole picture file into memory, for the readers whose libraries decode from memory.
#pragma once

#include "codecs/load_result.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace velmora::codecs {

// Files larger than this are refused as TooLarge: no picture within the image limits needs more.
inline constexpr uint64_t kMaxPictureFileBytes = uint64_t{1} << 30;

// Fills bytes with the file's contents. CannotOpen when it is missing or not a regular file,
// ReadError when its size or contents could not be read, TooLarge over kMaxPictureFileBytes,
// DecoderOutOfMemory when no buffer of its size could be had; Loaded otherwise.
LoadCause readPictureFile(std::u16string_view path, std::vector<uint8_t>& bytes);

} // namespace velmora::codecs
