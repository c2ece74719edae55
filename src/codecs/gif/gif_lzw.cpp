#include "codecs/gif/gif_lzw.h"

#include "codecs/gif/gif_output_window.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>
#include <new>
#include <optional>
#include <vector>

namespace velmora::codecs::gif {
namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxWidth = 12;
constexpr int kMaxStringLength = 4095;
constexpr size_t kReadAhead = 8; // the code reader loads 8 bytes at a time
constexpr size_t kCopyBlock = OutputWindow::kOverrun;
static_assert(kMaxStringLength <= OutputWindow::kKeptBytes);

// The string table: every code is its prefix code plus one suffix byte. The length of each
// string and the output position where it was last written are kept too, so that a string is
// copied from there, or else written back to front straight into place.
struct StringTable {
    uint16_t prefix[kMaxCodes];
    uint16_t length[kMaxCodes];
    uint8_t suffix[kMaxCodes];
    size_t written[kMaxCodes];
};

// Joins the data of the sub-blocks into one run followed by kReadAhead zero bytes. A length
// byte of 0 or the end of the file ends the data; a sub-block cut by the end gives what is there.
std::vector<uint8_t> joinSubBlocks(std::span<const uint8_t> subBlocks, size_t& dataBytes) {
    std::vector<uint8_t> joined;
    joined.reserve(subBlocks.size() + kReadAhead);
    size_t pos = 0;
    while (pos < subBlocks.size()) {
        const size_t announced = subBlocks[pos++];
        const size_t length = std::min(announced, subBlocks.size() - pos);
        if (length == 0) {
            break;
        }
        joined.insert(joined.end(), subBlocks.begin() + pos, subBlocks.begin() + pos + length);
        pos += length;
    }
    dataBytes = joined.size();
    joined.resize(dataBytes + kReadAhead, 0);
    return joined;
}

uint64_t loadLe64(const uint8_t* p) {
    uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

// Writes the string of code back to front, its last byte at end[-1].
inline void unwind(const StringTable& table, int code, int clear, uint8_t* end) {
    uint8_t* out = end - 1;
    while (code >= clear) {
        *out-- = table.suffix[code];
        code = table.prefix[code];
    }
    *out = static_cast<uint8_t>(code);
}

// Writes the string of code (length bytes) at out: a copy of its last appearance while that is
// still in the window, which always lies wholly before out, otherwise walked through the table.
inline void putString(const StringTable& table, int code, int clear, const OutputWindow& window,
                      uint8_t* out, int length) {
    if (code < clear) {
        *out = static_cast<uint8_t>(code);
    } else if (const uint8_t* from = window.at(table.written[code]); from == nullptr) {
        unwind(table, code, clear, out + length);
    } else if (length <= static_cast<int>(kCopyBlock) &&
               out - from >= static_cast<ptrdiff_t>(kCopyBlock)) {
        std::memcpy(out, from, kCopyBlock); // one fixed block is quicker than an exact copy
    } else {
        std::memcpy(out, from, static_cast<size_t>(length));
    }
}

} // namespace

bool decodeImageData(std::span<const uint8_t> subBlocks, int codeSize, PixelWriter& writer) {
    const int64_t pixels = writer.pixelsLeft();
    if (pixels == 0) {
        return true;
    }
    size_t dataBytes = 0;
    std::vector<uint8_t> data;
    std::optional<OutputWindow> window;
    try {
        data = joinSubBlocks(subBlocks, dataBytes);
        window.emplace(writer, kMaxStringLength);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const uint64_t totalBits = uint64_t{dataBytes} * 8;

    StringTable table;
    const int clear = 1 << codeSize;
    const int end = clear + 1;
    for (int code = 0; code < clear; ++code) {
        table.prefix[code] = 0;
        table.length[code] = 1;
        table.suffix[code] = static_cast<uint8_t>(code);
    }
    int width = codeSize + 1;
    int limit = (1 << width) - 1;
    int nextFree = clear + 1;
    int previous = -1; // none after the start and after a clear code
    size_t previousAt = 0;
    uint64_t bitPos = 0;

    while (bitPos + static_cast<uint64_t>(width) <= totalBits) {
        const int code = static_cast<int>((loadLe64(data.data() + (bitPos >> 3)) >> (bitPos & 7)) &
                                          ((1u << width) - 1));
        bitPos += static_cast<uint64_t>(width);

        if (code == clear) {
            width = codeSize + 1;
            limit = (1 << width) - 1;
            nextFree = clear + 1;
            previous = -1;
        } else if (code == end) {
            break;
        } else {
            int length = 0;
            const bool defined = code < nextFree;
            if (defined) {
                length = table.length[code];
            } else if (code == nextFree && previous >= 0) {
                length = table.length[previous] + 1; // the previous string and its first byte
            } else {
                break; // a code beyond the table: the stream is broken
            }
            if (length > kMaxStringLength) {
                break;
            }
            const size_t at = window->position();
            uint8_t* out = window->reserve(length);
            if (defined) {
                putString(table, code, clear, *window, out, length);
            } else {
                putString(table, previous, clear, *window, out, length - 1);
                out[length - 1] = out[0];
            }
            window->commit(length);
            if (window->position() >= static_cast<uint64_t>(pixels)) {
                break; // the image is full
            }
            if (nextFree < kMaxCodes) {
                // The first code after a clear takes the end code's slot, which no code uses.
                if (previous >= 0) {
                    table.prefix[nextFree] = static_cast<uint16_t>(previous);
                    table.length[nextFree] = static_cast<uint16_t>(table.length[previous] + 1);
                    table.suffix[nextFree] = out[0];
                    table.written[nextFree] = previousAt; // the previous string, then out[0]
                }
                ++nextFree;
            }
            table.written[code] = at;
            previous = code;
            previousAt = at;
        }
        if (nextFree > limit && width < kMaxWidth) {
            ++width;
            limit = width == kMaxWidth ? kMaxCodes : (1 << width) - 1;
        }
    }
    window->flush();
    return true;
}

} // namespace velmora::codecs::gif
