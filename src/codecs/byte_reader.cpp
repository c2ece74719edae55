#include "codecs/byte_reader.h"

#include "platform/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <unistd.h>

namespace velmora::codecs {
namespace {

class MemoryReader final : public ByteReader {
  public:
    explicit MemoryReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    size_t readAt(uint64_t offset, std::span<uint8_t> into) override {
        if (offset >= bytes_.size()) {
            return 0;
        }
        const size_t count = std::min<uint64_t>(into.size(), bytes_.size() - offset);
        std::memcpy(into.data(), bytes_.data() + offset, count);
        return count;
    }

  private:
    std::span<const uint8_t> bytes_;
};

class FileReader final : public ByteReader {
  public:
    explicit FileReader(platform::FileDescriptor file) : file_(std::move(file)) {}
    size_t readAt(uint64_t offset, std::span<uint8_t> into) override {
        size_t done = 0;
        while (done < into.size()) {
            const ssize_t got = pread(file_.get(), into.data() + done, into.size() - done,
                                      static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break; // the end, or an error: what was read stands
            }
            done += static_cast<size_t>(got);
        }
        return done;
    }

  private:
    platform::FileDescriptor file_;
};

} // namespace

std::unique_ptr<ByteReader> memoryReader(std::span<const uint8_t> bytes) {
    return std::unique_ptr<ByteReader>(new (std::nothrow) MemoryReader(bytes));
}

std::unique_ptr<ByteReader> fileReader(std::u16string_view path) {
    platform::FileDescriptor file = platform::openRegularFileDescriptor(path);
    if (!file) {
        return nullptr;
    }
    return std::unique_ptr<ByteReader>(new (std::nothrow) FileReader(std::move(file)));
}

} // namespace velmora::codecs
