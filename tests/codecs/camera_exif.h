// A camera's EXIF block made with libexif, and the facts a test reads back out of one.
#pragma once

#include <libexif/exif-data.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace velmora::test {

inline constexpr char kDateTaken[] = "2024:05:17 09:41:07";
inline constexpr std::array<uint32_t, 6> kLatitude{35, 1, 39, 1, 4123, 100}; // 35 39' 41.23"

namespace detail {

inline void addEntry(ExifData* data, ExifIfd ifd, ExifTag tag, ExifFormat format,
                     unsigned long components, const void* bytes) {
    ExifEntry* entry = exif_entry_new();
    entry->tag = tag;
    entry->format = format;
    entry->components = components;
    entry->size = static_cast<unsigned>(exif_format_get_size(format) * components);
    entry->data = static_cast<unsigned char*>(std::malloc(entry->size));
    std::memcpy(entry->data, bytes, entry->size);
    exif_content_add_entry(data->ifd[ifd], entry);
    exif_entry_unref(entry);
}

inline void addShort(ExifData* data, ExifIfd ifd, ExifTag tag, int value) {
    unsigned char bytes[2];
    exif_set_short(bytes, EXIF_BYTE_ORDER_INTEL, static_cast<ExifShort>(value));
    addEntry(data, ifd, tag, EXIF_FORMAT_SHORT, 1, bytes);
}

} // namespace detail

// The bare TIFF structure: orientation, the date taken, a GPS latitude, the stored pixel size
// and a thumbnail (any bytes: nothing decodes it).
inline std::string cameraExif(int orientation, int width, int height) {
    ExifData* data = exif_data_new();
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_INTEL);
    detail::addShort(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION, orientation);
    detail::addEntry(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, EXIF_FORMAT_ASCII,
                     sizeof kDateTaken, kDateTaken);
    detail::addShort(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, width);
    detail::addShort(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION, height);
    detail::addEntry(data, EXIF_IFD_GPS, static_cast<ExifTag>(EXIF_TAG_GPS_LATITUDE_REF),
                     EXIF_FORMAT_ASCII, 2, "N");
    unsigned char latitude[24];
    for (size_t i = 0; i < kLatitude.size(); ++i) {
        exif_set_long(latitude + 4 * i, EXIF_BYTE_ORDER_INTEL, kLatitude[i]);
    }
    detail::addEntry(data, EXIF_IFD_GPS, static_cast<ExifTag>(EXIF_TAG_GPS_LATITUDE),
                     EXIF_FORMAT_RATIONAL, 3, latitude);
    detail::addShort(data, EXIF_IFD_1, EXIF_TAG_COMPRESSION, 6);
    data->size = 300;
    data->data = static_cast<unsigned char*>(std::calloc(data->size, 1));
    unsigned char* saved = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &saved, &size);
    std::string tiff(reinterpret_cast<const char*>(saved) + 6, size - 6);
    std::free(saved);
    exif_data_unref(data);
    return tiff;
}

struct ExifFacts {
    int orientation = 0;
    std::string dateTaken;
    std::string latitudeRef;
    std::array<uint32_t, 6> latitude{};
    int pixelWidth = 0;
    int pixelHeight = 0;
    unsigned thumbnailBytes = 0;
    size_t thumbnailEntries = 0;
};

inline ExifFacts readExif(const std::vector<uint8_t>& tiff) {
    ExifFacts facts;
    std::string block = std::string("Exif\0\0", 6) + std::string(tiff.begin(), tiff.end());
    ExifData* data = exif_data_new_from_data(reinterpret_cast<const unsigned char*>(block.data()),
                                             static_cast<unsigned>(block.size()));
    const ExifByteOrder order = exif_data_get_byte_order(data);
    const auto entry = [&](ExifIfd ifd, int tag) {
        return exif_content_get_entry(data->ifd[ifd], static_cast<ExifTag>(tag));
    };
    if (ExifEntry* e = entry(EXIF_IFD_0, EXIF_TAG_ORIENTATION)) {
        facts.orientation = exif_get_short(e->data, order);
    }
    if (ExifEntry* e = entry(EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL)) {
        facts.dateTaken.assign(reinterpret_cast<const char*>(e->data), e->size - 1);
    }
    if (ExifEntry* e = entry(EXIF_IFD_GPS, EXIF_TAG_GPS_LATITUDE_REF)) {
        facts.latitudeRef.assign(reinterpret_cast<const char*>(e->data), e->size - 1);
    }
    if (ExifEntry* e = entry(EXIF_IFD_GPS, EXIF_TAG_GPS_LATITUDE); e && e->size == 24) {
        for (size_t i = 0; i < 6; ++i) {
            facts.latitude[i] = exif_get_long(e->data + 4 * i, order);
        }
    }
    if (ExifEntry* e = entry(EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION)) {
        facts.pixelWidth = exif_get_short(e->data, order);
    }
    if (ExifEntry* e = entry(EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION)) {
        facts.pixelHeight = exif_get_short(e->data, order);
    }
    facts.thumbnailBytes = data->size;
    facts.thumbnailEntries = data->ifd[EXIF_IFD_1]->count;
    exif_data_unref(data);
    return facts;
}

} // namespace velmora::test
