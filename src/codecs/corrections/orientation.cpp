#include "codecs/corrections/orientation.h"

#include "edit/transform.h"

#include <libexif/exif-data.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace velmora::codecs {
namespace {

constexpr std::array<uint8_t, 6> kExifHeader{'E', 'x', 'i', 'f', 0, 0};

struct ExifDataUnref {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

// The library needs the APP1 header in front of the TIFF structure.
std::vector<uint8_t> withExifHeader(std::span<const uint8_t> exif) {
    std::vector<uint8_t> block;
    if (exif.size() < kExifHeader.size() ||
        !std::equal(kExifHeader.begin(), kExifHeader.end(), exif.begin())) {
        block.assign(kExifHeader.begin(), kExifHeader.end());
    }
    block.insert(block.end(), exif.begin(), exif.end());
    return block;
}

} // namespace

int exifOrientation(std::span<const uint8_t> exif) {
    if (exif.empty() || exif.size() > 0xFFFF) {
        return kUpright;
    }
    const std::unique_ptr<ExifData, ExifDataUnref> data(exif_data_new());
    if (!data) {
        return kUpright;
    }
    // Read only: neither the maker notes nor a repair of the tags is wanted.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_option(data.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_set_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    const std::vector<uint8_t> block = withExifHeader(exif);
    exif_data_load_data(data.get(), block.data(), static_cast<unsigned>(block.size()));
    const ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (entry == nullptr || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 ||
        entry->data == nullptr || entry->size < 2) {
        return kUpright;
    }
    const int value = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
    return value >= 1 && value <= 8 ? value : kUpright;
}

void turnUpright(image::DibImage& image, int orientation) {
    switch (orientation) {
    case 2:
        edit::flipHorizontal(image);
        break;
    case 3:
        edit::flipHorizontal(image);
        edit::flipVertical(image);
        break;
    case 4:
        edit::flipVertical(image);
        break;
    case 5: // mirrored across the main diagonal
        if (edit::rotateRight(image)) {
            edit::flipHorizontal(image);
        }
        break;
    case 6: // a turn without the memory for it leaves the picture as it was read
        (void)edit::rotateRight(image);
        break;
    case 7: // mirrored across the other diagonal
        if (edit::rotateLeft(image)) {
            edit::flipHorizontal(image);
        }
        break;
    case 8:
        (void)edit::rotateLeft(image);
        break;
    default:
        break;
    }
}

} // namespace velmora::codecs
