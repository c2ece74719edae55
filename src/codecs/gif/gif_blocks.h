// The block structure of a GIF file: signature, logical screen descriptor, colour tables,
// extensions, image descriptors and the trailer. BlockWalker moves a cursor over the file held
// in memory and refuses every step that would leave it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace velmora::codecs::gif {

// Result of a scan or decode pass; 0 is success.
enum class LoadStatus : int {
    Decoded = 0,
    NoMemory = 101,
    OpenFailed = 103,
    ReadFailed = 104,
    NotGif = 105, // no signature, or the data ended or broke off before the picture was complete
};

struct ScreenDescriptor {
    int width = 0;
    int height = 0;
    bool hasGlobalTable = false;
    int sizeField = 0; // the table has 2^(sizeField + 1) entries
    int background = 0;
    size_t globalTable = 0; // file offset of the global table's first byte
};

struct ImageDescriptor {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool hasLocalTable = false;
    bool interlaced = false;
    int sizeField = 0;
    size_t localTable = 0;     // file offset of the local table's first byte
    int transparentIndex = -1; // from the graphic control extension before it; -1 for none
    int disposal = 0;          // from it too: 0-3 (the undefined 4-7 read as 0, leave in place)
    int delay = 0;             // from it too: hundredths of a second
};

// The NETSCAPE2.0 loop count when the file has none.
inline constexpr int kNoLoopCount = -1;

constexpr size_t colorTableBytes(int sizeField) {
    return size_t{3} << (sizeField + 1);
}

// Bits per pixel of the packed canvas a colour table of 2^tableBits entries is shown at (1, 4
// or 8); an index is taken modulo 2^bits.
constexpr int outputBitsFor(int tableBits) {
    if (tableBits == 1) {
        return 1;
    }
    return tableBits <= 4 ? 4 : 8;
}

class BlockWalker {
  public:
    enum class Block { Image, Trailer, Broken };

    explicit BlockWalker(std::span<const uint8_t> file) : file_(file) {}

    // Finds "GIF8" anywhere in the file (bytes before it are ignored), reads the screen
    // descriptor and steps over the global colour table.
    LoadStatus readHeader(ScreenDescriptor& screen);

    // Steps over extensions and stray bytes to the next image descriptor and reads it with its
    // local colour table and graphic control, leaving the cursor on the code size byte; or stops
    // at the trailer.
    Block nextImage(ImageDescriptor& image);

    // The loop count of the last NETSCAPE2.0 extension stepped over, or kNoLoopCount.
    int loopCount() const { return loopCount_; }

    // Steps over the code size byte and the data sub-blocks of the image just read.
    bool skipImageData();

    // Takes the byte at the cursor; false at the end of the file.
    bool readByte(uint8_t& value);

    // The file from the cursor on.
    std::span<const uint8_t> rest() const { return file_.subspan(pos_); }

  private:
    bool skip(size_t count);
    bool skipSubBlocks();
    bool skipExtension();
    void readLoopCount();
    uint8_t at(size_t offset) const { return file_[pos_ + offset]; }
    int le16(size_t offset) const { return at(offset) | at(offset + 1) << 8; }

    std::span<const uint8_t> file_;
    size_t pos_ = 0;
    int loopCount_ = kNoLoopCount;
    int transparentIndex_ = -1; // of the last graphic control extension, for the next image
    int disposal_ = 0;
    int delay_ = 0;
};

} // namespace velmora::codecs::gif
