#include "codecs/picture_file.h"

#include "platform/regular_file.h"

#include <cstdio>
#include <new>
#include <sys/stat.h>

namespace velmora::codecs {

LoadCause readPictureFile(std::u16string_view path, std::vector<uint8_t>& bytes) {
    const platform::FilePtr file = platform::openRegularFile(path);
    if (!file) {
        return LoadCause::CannotOpen;
    }
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || info.st_size < 0) {
        return LoadCause::ReadError;
    }
    const auto size = static_cast<uint64_t>(info.st_size);
    if (size > kMaxPictureFileBytes) {
        return LoadCause::TooLarge;
    }
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return LoadCause::DecoderOutOfMemory;
    }
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return LoadCause::ReadError;
    }
    return LoadCause::Loaded;
}

} // namespace velmora::codecs
