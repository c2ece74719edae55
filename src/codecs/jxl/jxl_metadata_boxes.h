// The EXIF and XMP boxes of a JPEG XL container, collected while the decoder passes them.
#pragma once

#include "image/picture_metadata.h"

#include <jxl/decode.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::codecs::jxl {

class MetadataBoxes {
  public:
    // Asks the decoder for brotli-compressed boxes unpacked, where the library can.
    explicit MetadataBoxes(JxlDecoder* decoder);

    // At a box event: ends the box before and keeps this one when it is the first EXIF or XMP.
    bool begin(JxlDecoder* decoder);
    // The box's buffer is full: it grows up to a limit, beyond which the box is read and dropped.
    bool grow(JxlDecoder* decoder);
    // At the end of the file: ends the last box and moves what was kept into metadata.
    void finish(JxlDecoder* decoder, image::PictureMetadata& metadata);

  private:
    void endBox(JxlDecoder* decoder);
    bool offer(JxlDecoder* decoder);

    bool unpacked_ = false;
    std::vector<uint8_t> exif_;
    std::vector<uint8_t> xmp_;
    std::vector<uint8_t>* target_ = nullptr;
    size_t filled_ = 0;
    bool dropped_ = false;
};

} // namespace velmora::codecs::jxl
