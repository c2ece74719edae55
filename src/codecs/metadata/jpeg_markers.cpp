#include "codecs/metadata/jpeg_markers.h"

#include "codecs/corrections/colour_profile.h"
#include "codecs/metadata/exif_rewrite.h"

#include <algorithm>
#include <string_view>

namespace velmora::codecs {
namespace {

constexpr int kApp1 = 0xE1;
constexpr int kApp2 = 0xE2;
constexpr int kComment = 0xFE;
constexpr size_t kMaxMarkerPayload = 65533;

constexpr std::string_view kXmpNamespace{"http://ns.adobe.com/xap/1.0/\0", 29};
constexpr std::string_view kIccName{"ICC_PROFILE\0", 12};
// Name, sequence number and count before each chunk.
constexpr size_t kIccChunkData = kMaxMarkerPayload - kIccName.size() - 2;
constexpr size_t kMaxIccChunks = 255;

std::vector<uint8_t> joined(std::string_view prefix, std::span<const uint8_t> data) {
    std::vector<uint8_t> payload(prefix.begin(), prefix.end());
    payload.insert(payload.end(), data.begin(), data.end());
    return payload;
}

void addProfile(std::vector<JpegMarker>& markers, std::span<const uint8_t> profile) {
    const size_t chunks = (profile.size() + kIccChunkData - 1) / kIccChunkData;
    if (chunks == 0 || chunks > kMaxIccChunks) {
        return;
    }
    for (size_t i = 0; i < chunks; ++i) {
        const auto chunk = profile.subspan(
            i * kIccChunkData, std::min(kIccChunkData, profile.size() - i * kIccChunkData));
        JpegMarker marker{kApp2, joined(kIccName, chunk)};
        marker.payload.insert(marker.payload.begin() + kIccName.size(),
                              {static_cast<uint8_t>(i + 1), static_cast<uint8_t>(chunks)});
        markers.push_back(std::move(marker));
    }
}

} // namespace

std::vector<JpegMarker> jpegMarkersFor(const image::PictureMetadata& metadata,
                                       std::span<const uint8_t> profile, int width, int height) {
    std::vector<JpegMarker> markers;
    if (auto exif = exifForSavedPicture(metadata.exif, width, height); !exif.empty()) {
        markers.push_back({kApp1, std::move(exif)});
    }
    if (!metadata.xmp.empty() && metadata.xmp.size() <= kMaxMarkerPayload - kXmpNamespace.size()) {
        markers.push_back({kApp1, joined(kXmpNamespace, metadata.xmp)});
    }
    addProfile(markers, profile);
    for (const std::string& comment : metadata.comments) {
        if (!comment.empty() && comment.size() <= kMaxMarkerPayload) {
            markers.push_back({kComment, {comment.begin(), comment.end()}});
        }
    }
    return markers;
}

std::vector<uint8_t> profileOfPixels(const image::PictureMetadata& metadata) {
    if (metadata.coloursConverted) {
        return outputProfileBytes();
    }
    // A grey or CMYK profile, kept for a turn of the file's own data, does not describe the
    // decoded red, green and blue pixels.
    return transformFromProfile(metadata.icc, PixelLayout::Bgr) != nullptr ? metadata.icc
                                                                           : std::vector<uint8_t>();
}

} // namespace velmora::codecs
