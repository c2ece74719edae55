#include "codecs/jxl/jxl_metadata_boxes.h"

#include "codecs/metadata/exif_payload.h"

#include <string_view>

namespace velmora::codecs::jxl {
namespace {

constexpr size_t kFirstBuffer = 4096;
// A saved JPEG holds at most 64 KiB of either; a larger box is not kept.
constexpr size_t kMaxBox = size_t{1} << 20;

} // namespace

MetadataBoxes::MetadataBoxes(JxlDecoder* decoder)
    : unpacked_(JxlDecoderSetDecompressBoxes(decoder, JXL_TRUE) == JXL_DEC_SUCCESS) {}

bool MetadataBoxes::begin(JxlDecoder* decoder) {
    endBox(decoder);
    JxlBoxType type{};
    if (JxlDecoderGetBoxType(decoder, type, unpacked_ ? JXL_TRUE : JXL_FALSE) != JXL_DEC_SUCCESS) {
        return true;
    }
    const std::string_view name(type, sizeof type);
    std::vector<uint8_t>* target = name == "Exif" ? &exif_ : name == "xml " ? &xmp_ : nullptr;
    if (target == nullptr || !target->empty()) {
        return true;
    }
    target_ = target;
    target_->resize(kFirstBuffer);
    filled_ = 0;
    dropped_ = false;
    return offer(decoder);
}

bool MetadataBoxes::grow(JxlDecoder* decoder) {
    if (target_ == nullptr) {
        return false;
    }
    filled_ = target_->size() - JxlDecoderReleaseBoxBuffer(decoder);
    if (dropped_ || target_->size() >= kMaxBox) {
        dropped_ = true;
        filled_ = 0; // the rest is read over the same bytes
    } else {
        target_->resize(target_->size() * 2);
    }
    return offer(decoder);
}

void MetadataBoxes::finish(JxlDecoder* decoder, image::PictureMetadata& metadata) {
    endBox(decoder);
    metadata.exif = exifAfterHeaderOffset(exif_);
    metadata.xmp = std::move(xmp_);
}

void MetadataBoxes::endBox(JxlDecoder* decoder) {
    if (target_ == nullptr) {
        return;
    }
    const size_t unused = JxlDecoderReleaseBoxBuffer(decoder);
    target_->resize(dropped_ ? 0 : target_->size() - unused);
    target_ = nullptr;
}

bool MetadataBoxes::offer(JxlDecoder* decoder) {
    return JxlDecoderSetBoxBuffer(decoder, target_->data() + filled_, target_->size() - filled_) ==
           JXL_DEC_SUCCESS;
}

} // namespace velmora::codecs::jxl
