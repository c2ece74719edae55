// The frames of an animated GIF by the GIF89a rules: each image drawn on the logical screen at
// its place with its own or the global colour table, its transparent index leaving what is under
// it, and its disposal (0, 1 leave it; 2 back to the background; 3 back to what was there before)
// applied before the next one. Delays follow shownDelayMs. A NETSCAPE2.0 loop count n repeats the
// frames n times after the first play, as browsers do (0 without end); without one they play once.
// A frame whose data is cut short or broken is Broken: playing stops on the frame before it.
// The file is read a block at a time: only the block being decoded is held, never the whole file.
#pragma once

#include "codecs/byte_reader.h"
#include "codecs/frame_source.h"
#include "codecs/gif/gif_blocks.h"
#include "codecs/gif/gif_frame_canvas.h"
#include "codecs/packed_bitmap.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace velmora::codecs::gif {

class GifFrameSource final : public FrameSource {
  public:
    // The frames of the GIF reader reads; nullptr when its header cannot be read or its screen is
    // empty or over the image limits. No memory for the canvas makes the first frame NoMemory.
    static std::unique_ptr<GifFrameSource> open(std::unique_ptr<ByteReader> reader);

    int frameCount() const override { return frameCount_; }
    int playCount() const override { return playCount_; }
    FrameStep next(image::DibImage& frame, int& delayMs) override;
    void rewind() override;

  private:
    explicit GifFrameSource(std::unique_ptr<ByteReader> reader) : reader_(std::move(reader)) {}
    [[nodiscard]] bool readHeader();
    void scan();
    // Steps over the next image with its extensions, its table and its data: Image with the
    // window holding all of it and walker_ at its end, Trailer, or Broken. Reads more of the
    // file as far as the step needs.
    BlockWalker::Block nextBlock(ImageDescriptor& image, std::span<const uint8_t>& data);
    [[nodiscard]] bool fill(size_t bytes);
    FrameStep drawImage(const ImageDescriptor& image, std::span<const uint8_t> data);
    void dispose();

    std::unique_ptr<ByteReader> reader_;
    std::vector<uint8_t> window_; // the file's bytes from windowStart_ on, read so far
    uint64_t windowStart_ = 0;
    bool windowAtEnd_ = false; // the window reaches the end of the file
    size_t taken_ = 0;         // bytes of the window the block taken last came to
    uint64_t firstBlock_ = 0;  // file offset of the first block after the header
    int loopCount_ = kNoLoopCount;
    ScreenDescriptor screen_;
    std::array<uint8_t, 256 * 3> globalTable_{};
    FrameCanvas canvas_;
    PackedBitmap indices_; // the indices of the frame being drawn
    int indicesWidth_ = 0;
    int frameCount_ = 0;
    int playCount_ = 1;
    bool transparency_ = false;
    int framesGiven_ = 0;
    int disposal_ = 0; // of the frame last drawn, applied before the next
    FrameRect drawn_;
};

} // namespace velmora::codecs::gif
