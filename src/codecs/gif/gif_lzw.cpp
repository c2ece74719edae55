#include "codecs/gif/gif_lzw.h"

#include <bit>
#include <cstring>
#include <new>
#include <vector>

namespace velmora::codecs::gif {
namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxWidth = 12;
constexpr int kMaxStringLength = 4095;
constexpr size_t kReadAhead = 8; // the code reader loads 8 bytes at a time

// The string table: every code is its prefix code plus one suffix byte. The length and first
// byte of each string are kept too, so a string is written back to front straight into place.
struct StringTable {
    uint16_t prefix[kMaxCodes];
    uint16_t length[kMaxCodes];
    uint8_t suffix[kMaxCodes];
    uint8_t first[kMaxCodes];
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

} // namespace

bool decodeImageData(std::span<const uint8_t> subBlocks, int codeSize, PixelWriter& writer) {
    if (writer.full()) {
        return true;
    }
    size_t dataBytes = 0;
    std::vector<uint8_t> data;
    try {
        data = joinSubBlocks(subBlocks, dataBytes);
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
        table.first[code] = static_cast<uint8_t>(code);
    }
    int width = codeSize + 1;
    int limit = (1 << width) - 1;
    int nextFree = clear + 1;
    int previous = -1; // none after the start and after a clear code
    uint64_t bitPos = 0;
    uint8_t scratch[kMaxCodes];

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
            uint8_t firstByte = 0;
            const bool defined = code < nextFree;
            if (defined) {
                length = table.length[code];
                firstByte = table.first[code];
            } else if (code == nextFree && previous >= 0) {
                // Not yet in the table: the previous string and its own first byte.
                length = table.length[previous] + 1;
                firstByte = table.first[previous];
            } else {
                break; // a code beyond the table: the stream is broken
            }
            if (length > kMaxStringLength) {
                break;
            }
            const bool direct = writer.isEightBit() && length <= writer.roomInRow();
            uint8_t* out = direct ? writer.cursor() : scratch;
            if (defined) {
                unwind(table, code, clear, out + length);
            } else {
                out[length - 1] = firstByte;
                unwind(table, previous, clear, out + length - 1);
            }
            if (direct) {
                writer.advance(length);
            } else {
                writer.write(scratch, length);
            }
            if (writer.full()) {
                break;
            }
            if (nextFree < kMaxCodes) {
                // The first code after a clear takes the end code's slot, which no code uses.
                if (previous >= 0) {
                    table.prefix[nextFree] = static_cast<uint16_t>(previous);
                    table.length[nextFree] = static_cast<uint16_t>(table.length[previous] + 1);
                    table.suffix[nextFree] = firstByte;
                    table.first[nextFree] = table.first[previous];
                }
                ++nextFree;
            }
            previous = code;
        }
        if (nextFree > limit && width < kMaxWidth) {
            ++width;
            limit = width == kMaxWidth ? kMaxCodes : (1 << width) - 1;
        }
    }
    return true;
}

} // namespace velmora::codecs::gif
