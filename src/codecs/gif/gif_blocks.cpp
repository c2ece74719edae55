#include "codecs/gif/gif_blocks.h"

#include <cstring>
#include <utility>

namespace velmora::codecs::gif {
namespace {

constexpr uint8_t kExtension = 0x21;
constexpr uint8_t kImage = 0x2C;
constexpr uint8_t kTrailer = 0x3B;

constexpr uint8_t kPlainText = 0x01;
constexpr uint8_t kGraphicControl = 0xF9;
constexpr uint8_t kComment = 0xFE;
constexpr uint8_t kApplication = 0xFF;

constexpr size_t kSignatureAndVersion = 6;
constexpr size_t kScreenDescriptorSize = 7;
constexpr size_t kImageDescriptorSize = 10; // with its 0x2C

} // namespace

bool BlockWalker::skip(size_t count) {
    if (count > file_.size() - pos_) {
        return false;
    }
    pos_ += count;
    return true;
}

bool BlockWalker::readByte(uint8_t& value) {
    if (pos_ >= file_.size()) {
        return false;
    }
    value = file_[pos_++];
    return true;
}

bool BlockWalker::skipSubBlocks() {
    for (;;) {
        uint8_t length = 0;
        if (!readByte(length)) {
            return false;
        }
        if (length == 0) {
            return true;
        }
        if (!skip(length)) {
            return false;
        }
    }
}

// The application identifier block is at the cursor, the cursor on its length byte.
void BlockWalker::readLoopCount() {
    static constexpr char kNetscape[] = "\x0BNETSCAPE2.0\x03\x01";
    constexpr size_t kLength = sizeof kNetscape - 1;
    if (file_.size() - pos_ >= kLength + 2 &&
        std::memcmp(file_.data() + pos_, kNetscape, kLength) == 0) {
        loopCount_ = le16(kLength);
    }
}

bool BlockWalker::skipExtension() {
    if (file_.size() - pos_ < 2) {
        return false;
    }
    switch (at(1)) {
    case kPlainText: // introducer, label, block-size byte and the 12 bytes it announces
        return skip(2 + 1 + 12) && skipSubBlocks();
    case kGraphicControl: { // fixed length: flags at 3 (bit 0: transparency, bits 2-4: disposal),
                            // the delay at 4, the index at 6
        if (file_.size() - pos_ >= 8) {
            transparentIndex_ = (at(3) & 1) != 0 ? at(6) : -1;
            const int disposal = at(3) >> 2 & 7;
            disposal_ = disposal <= 3 ? disposal : 0;
            delay_ = le16(4);
        }
        return skip(8);
    }
    case kComment:
        return skip(2) && skipSubBlocks();
    case kApplication: // introducer, label, the 12-byte identifier block with its length byte
        pos_ += 2;
        readLoopCount();
        return skip(12) && skipSubBlocks();
    default: // unknown label: only the introducer is taken
        return skip(1);
    }
}

LoadStatus BlockWalker::readHeader(ScreenDescriptor& screen) {
    const uint8_t* const begin = file_.data();
    const size_t size = file_.size();
    size_t found = size;
    for (size_t from = 0; from + 1 < size;) {
        const auto* g = static_cast<const uint8_t*>(std::memchr(begin + from, 'G', size - from));
        if (g == nullptr) {
            break;
        }
        const size_t at = static_cast<size_t>(g - begin);
        if (at + 1 < size && begin[at + 1] == 'I') {
            found = at;
            break;
        }
        from = at + 1;
    }
    if (found == size || found + 3 >= size || begin[found + 2] != 'F' || begin[found + 3] != '8') {
        return LoadStatus::NotGif;
    }
    pos_ = found;
    if (!skip(kSignatureAndVersion) || file_.size() - pos_ < kScreenDescriptorSize) {
        return LoadStatus::NotGif;
    }
    screen.width = le16(0);
    screen.height = le16(2);
    const uint8_t packed = at(4);
    screen.hasGlobalTable = (packed & 0x80) != 0;
    screen.sizeField = packed & 0x07;
    screen.background = at(5);
    pos_ += kScreenDescriptorSize;
    screen.globalTable = pos_;
    if (screen.hasGlobalTable && !skip(colorTableBytes(screen.sizeField))) {
        return LoadStatus::NotGif;
    }
    return LoadStatus::Decoded;
}

BlockWalker::Block BlockWalker::nextImage(ImageDescriptor& image) {
    while (pos_ < file_.size()) {
        switch (at(0)) {
        case kTrailer:
            return Block::Trailer;
        case kExtension:
            if (!skipExtension()) {
                return Block::Broken;
            }
            break;
        case kImage: {
            if (file_.size() - pos_ < kImageDescriptorSize) {
                return Block::Broken;
            }
            image.left = le16(1);
            image.top = le16(3);
            image.width = le16(5);
            image.height = le16(7);
            const uint8_t packed = at(9);
            image.hasLocalTable = (packed & 0x80) != 0;
            image.interlaced = (packed & 0x40) != 0;
            image.sizeField = packed & 0x07;
            image.transparentIndex = std::exchange(transparentIndex_, -1);
            image.disposal = std::exchange(disposal_, 0);
            image.delay = std::exchange(delay_, 0);
            pos_ += kImageDescriptorSize;
            image.localTable = pos_;
            if (image.hasLocalTable && !skip(colorTableBytes(image.sizeField))) {
                return Block::Broken;
            }
            return Block::Image;
        }
        default: // stray byte between blocks
            ++pos_;
            break;
        }
    }
    return Block::Broken;
}

bool BlockWalker::skipImageData() {
    return skip(1) && skipSubBlocks();
}

} // namespace velmora::codecs::gif
