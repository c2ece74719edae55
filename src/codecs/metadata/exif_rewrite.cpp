#include "codecs/metadata/exif_rewrite.h"

#include <libexif/exif-data.h>

#include <array>
#include <cstdlib>
#include <memory>

namespace velmora::codecs {
namespace {

constexpr std::array<uint8_t, 6> kExifHeader{'E', 'x', 'i', 'f', 0, 0};
// A marker segment holds 65535 bytes with its two length bytes.
constexpr size_t kMaxMarkerPayload = 65533;

struct ExifDataUnref {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};
struct MallocFree {
    void operator()(unsigned char* bytes) const { std::free(bytes); }
};

void setNumber(ExifData* data, ExifIfd ifd, ExifTag tag, int value) {
    ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
    if (entry == nullptr || entry->data == nullptr || entry->components != 1) {
        return;
    }
    const ExifByteOrder order = exif_data_get_byte_order(data);
    if (entry->format == EXIF_FORMAT_SHORT && entry->size >= 2 && value <= 0xFFFF) {
        exif_set_short(entry->data, order, static_cast<ExifShort>(value));
    } else if (entry->format == EXIF_FORMAT_LONG && entry->size >= 4) {
        exif_set_long(entry->data, order, static_cast<ExifLong>(value));
    }
}

// The thumbnail and the directory that describes it.
void dropThumbnail(ExifData* data) {
    if (data->data != nullptr) {
        // The block was allocated by the library's default allocator, which is malloc's.
        std::free(data->data);
        data->data = nullptr;
        data->size = 0;
    }
    ExifContent* thumbnailDirectory = data->ifd[EXIF_IFD_1];
    while (thumbnailDirectory->count > 0) {
        exif_content_remove_entry(thumbnailDirectory, thumbnailDirectory->entries[0]);
    }
}

} // namespace

std::vector<uint8_t> exifForSavedPicture(std::span<const uint8_t> tiff, int width, int height) {
    if (tiff.empty() || tiff.size() > kMaxMarkerPayload - kExifHeader.size()) {
        return {};
    }
    const std::unique_ptr<ExifData, ExifDataUnref> data(exif_data_new());
    if (!data) {
        return {};
    }
    // Kept as the camera wrote it: no tags added or repaired, maker notes and unknown tags kept.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_set_option(data.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    std::vector<uint8_t> block(kExifHeader.begin(), kExifHeader.end());
    block.insert(block.end(), tiff.begin(), tiff.end());
    exif_data_load_data(data.get(), block.data(), static_cast<unsigned>(block.size()));
    if (data->ifd[EXIF_IFD_0]->count == 0) {
        return {};
    }
    setNumber(data.get(), EXIF_IFD_0, EXIF_TAG_ORIENTATION, 1);
    setNumber(data.get(), EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, width);
    setNumber(data.get(), EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION, height);
    dropThumbnail(data.get());
    unsigned char* saved = nullptr;
    unsigned int savedSize = 0;
    exif_data_save_data(data.get(), &saved, &savedSize);
    const std::unique_ptr<unsigned char, MallocFree> owned(saved);
    if (saved == nullptr || savedSize <= kExifHeader.size() || savedSize > kMaxMarkerPayload) {
        return {};
    }
    return {saved, saved + savedSize};
}

} // namespace velmora::codecs
