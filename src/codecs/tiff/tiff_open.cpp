#include "codecs/tiff/tiff_open.h"

#include "platform/regular_file.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace velmora::codecs {
namespace {

// Largest single allocation the library may make for its own buffers (strips, tiles, tables).
constexpr tmsize_t kLibraryAllocationLimit = tmsize_t{512} << 20;

int silence(TIFF*, void*, const char*, const char*, va_list) {
    return 1; // handled: the process-wide handlers are not called
}

struct OptionsDeleter {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};
using Options = std::unique_ptr<TIFFOpenOptions, OptionsDeleter>;

Options quietOptions() {
    Options options(TIFFOpenOptionsAlloc());
    if (options != nullptr) {
        TIFFOpenOptionsSetErrorHandlerExtR(options.get(), silence, nullptr);
        TIFFOpenOptionsSetWarningHandlerExtR(options.get(), silence, nullptr);
        TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kLibraryAllocationLimit);
    }
    return options;
}

struct MemoryInput {
    const uint8_t* data;
    toff_t size;
    toff_t position;
};

tmsize_t readMemory(thandle_t handle, void* out, tmsize_t length) {
    auto* input = static_cast<MemoryInput*>(handle);
    if (length <= 0 || input->position >= input->size) {
        return 0;
    }
    const toff_t count =
        std::min<toff_t>(static_cast<toff_t>(length), input->size - input->position);
    std::memcpy(out, input->data + input->position, count);
    input->position += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence) {
    auto* input = static_cast<MemoryInput*>(handle);
    const toff_t base = whence == SEEK_CUR ? input->position : whence == SEEK_END ? input->size : 0;
    if (offset > UINT64_MAX - base) {
        return static_cast<toff_t>(-1);
    }
    input->position = base + offset;
    return input->position;
}

int closeMemory(thandle_t handle) {
    std::unique_ptr<MemoryInput> owned(static_cast<MemoryInput*>(handle));
    return 0;
}

toff_t memorySize(thandle_t handle) {
    return static_cast<MemoryInput*>(handle)->size;
}

// The bytes are already in memory: hand them out as the mapped file.
int mapMemory(thandle_t handle, void** base, toff_t* size) {
    auto* input = static_cast<MemoryInput*>(handle);
    *base = const_cast<uint8_t*>(input->data);
    *size = input->size;
    return 1;
}

void unmapNothing(thandle_t, void*, toff_t) {}

} // namespace

void TiffCloser::operator()(TIFF* tiff) const {
    TIFFClose(tiff);
}

TiffHandle openTiffForReading(std::u16string_view devicePath) {
    const Options options = quietOptions();
    platform::FileDescriptor file = platform::openRegularFileDescriptor(devicePath);
    if (options == nullptr || !file) {
        return nullptr;
    }
    TIFF* tiff = TIFFFdOpenExt(file.get(), "input", "r", options.get());
    if (tiff != nullptr) {
        file.release(); // closed with the handle
    }
    return TiffHandle(tiff);
}

TiffHandle openTiffInMemory(std::span<const uint8_t> bytes) {
    const Options options = quietOptions();
    if (options == nullptr) {
        return nullptr;
    }
    auto input = std::make_unique<MemoryInput>(MemoryInput{bytes.data(), bytes.size(), 0});
    TIFF* tiff = TIFFClientOpenExt("memory", "r", input.get(), readMemory, refuseWrite, seekMemory,
                                   closeMemory, memorySize, mapMemory, unmapNothing, options.get());
    if (tiff != nullptr) {
        input.release(); // closeMemory frees it with the handle
    }
    return TiffHandle(tiff);
}

TiffHandle openTiffForWriting(int descriptor) {
    const Options options = quietOptions();
    const int own = options != nullptr ? dup(descriptor) : -1;
    if (own < 0) {
        return nullptr;
    }
    TIFF* tiff = TIFFFdOpenExt(own, "output", "w", options.get());
    if (tiff == nullptr) {
        close(own);
    }
    return TiffHandle(tiff);
}

} // namespace velmora::codecs
