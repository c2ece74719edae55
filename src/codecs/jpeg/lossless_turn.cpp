#include "codecs/jpeg/lossless_turn.h"

#include "codecs/safe_file_writer.h"
#include "platform/regular_file.h"

#include <turbojpeg.h>

#include <array>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmora::codecs {
namespace {

// Files larger than this are not read into memory for a turn (they are encoded instead).
constexpr int64_t kMaxSourceBytes = int64_t{1} << 30;

struct TurboDestroy {
    void operator()(void* handle) const { tjDestroy(handle); }
};
struct TurboFree {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

// The library's operation for a turn: mirror first, then quarter turns clockwise.
TJXOP operationFor(image::Turn turn) {
    static constexpr std::array<TJXOP, 4> kTurned{TJXOP_NONE, TJXOP_ROT90, TJXOP_ROT180,
                                                  TJXOP_ROT270};
    static constexpr std::array<TJXOP, 4> kMirrored{TJXOP_HFLIP, TJXOP_TRANSVERSE, TJXOP_VFLIP,
                                                    TJXOP_TRANSPOSE};
    return (turn.mirrored ? kMirrored : kTurned)[turn.quarterTurns % 4];
}

// The whole file, when it is still the one the stamp describes.
std::optional<std::vector<unsigned char>> readStamped(std::u16string_view path,
                                                      const image::FileStamp& stamp) {
    const platform::FileDescriptor file = platform::openRegularFileDescriptor(path);
    struct stat status {};
    if (!file || fstat(file.get(), &status) != 0 || status.st_size > kMaxSourceBytes ||
        image::FileStamp{static_cast<uint64_t>(status.st_size),
                         int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec} !=
            stamp) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes(static_cast<size_t>(status.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = read(file.get(), bytes.data() + done, bytes.size() - done);
        if (got <= 0) {
            return std::nullopt;
        }
        done += static_cast<size_t>(got);
    }
    return bytes;
}

bool writeMarker(SafeFileWriter& writer, const JpegMarker& marker) {
    const size_t length = marker.payload.size() + 2;
    const std::array<uint8_t, 4> head{0xFF, static_cast<uint8_t>(marker.code),
                                      static_cast<uint8_t>(length >> 8),
                                      static_cast<uint8_t>(length & 0xFF)};
    return length <= 0xFFFF && writer.write(head.data(), head.size()) &&
           writer.write(marker.payload.data(), marker.payload.size());
}

// Where the markers go in the library's output: after the start of image and, when the library
// wrote one, its JFIF segment, as the encoder places them.
size_t headerEnd(std::span<const unsigned char> jpeg) {
    constexpr size_t kStart = 2;
    if (jpeg.size() >= kStart + 4 && jpeg[kStart] == 0xFF && jpeg[kStart + 1] == 0xE0) {
        const size_t segment = size_t{2} + (size_t{jpeg[kStart + 2]} << 8 | jpeg[kStart + 3]);
        if (kStart + segment <= jpeg.size()) {
            return kStart + segment;
        }
    }
    return kStart;
}

} // namespace

bool saveJpegTurned(std::u16string_view source, const image::FileStamp& stamp, image::Turn turn,
                    std::span<const JpegMarker> markers, std::u16string_view target) {
    const auto input = readStamped(source, stamp);
    const std::unique_ptr<void, TurboDestroy> handle(input ? tjInitTransform() : nullptr);
    if (!handle) {
        return false;
    }
    tjtransform transform{};
    transform.op = operationFor(turn);
    // Partial blocks at the edges refuse the turn rather than being trimmed; the source's own
    // markers give way to the ones handed in.
    transform.options = TJXOPT_PERFECT | TJXOPT_COPYNONE;
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    const int failed = tjTransform(handle.get(), input->data(), input->size(), 1, &output,
                                   &outputSize, &transform, TJFLAG_LIMITSCANS);
    const std::unique_ptr<unsigned char, TurboFree> owned(output);
    if (failed != 0 || output == nullptr || outputSize < 4) {
        return false;
    }
    const std::span<const unsigned char> jpeg(output, outputSize);
    const size_t split = headerEnd(jpeg);
    SafeFileWriter writer(target);
    bool written = writer.isOpen() && writer.write(jpeg.data(), split);
    for (const JpegMarker& marker : markers) {
        written = written && writeMarker(writer, marker);
    }
    written = written && writer.write(jpeg.data() + split, jpeg.size() - split);
    return written && writer.commit();
}

} // namespace velmora::codecs
