#include "codecs/file_bytes.h"

#include "platform/regular_file.h"

#include <cstdio>
#include <new>
#include <sys/stat.h>

namespace velmora::codecs {

FileBytes readPictureFile(std::u16string_view path) {
    FileBytes file;
    const platform::FilePtr stream = platform::openRegularFile(path);
    if (!stream) {
        file.cause = LoadCause::CannotOpen;
        return file;
    }
    struct stat info {};
    if (fstat(fileno(stream.get()), &info) != 0 || info.st_size < 0) {
        file.cause = LoadCause::ReadError;
        return file;
    }
    if (static_cast<uint64_t>(info.st_size) > kMaxPictureFileBytes) {
        file.cause = LoadCause::TooLarge;
        return file;
    }
    file.size = static_cast<size_t>(info.st_size);
    // One byte more than needed: an empty file still gets a buffer, and a file that grew since
    // fstat is noticed instead of being read short.
    file.data.reset(new (std::nothrow) uint8_t[file.size + 1]);
    if (!file.data) {
        file.cause = LoadCause::DecoderOutOfMemory;
        return file;
    }
    if (std::fread(file.data.get(), 1, file.size + 1, stream.get()) != file.size) {
        file.cause = LoadCause::ReadError;
    }
    return file;
}

} // namespace velmora::codecs
