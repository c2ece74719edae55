// Quarter turns and flips of a JPEG file without decoding it: libjpeg-turbo moves the file's DCT
// coefficients, so the result loses nothing and takes a fraction of a decode and encode.
#pragma once

#include "codecs/metadata/jpeg_markers.h"
#include "image/picture_metadata.h"
#include "image/turn.h"

#include <span>
#include <string_view>

namespace velmora::codecs {

// Writes source turned by turn to target, with markers (metadata) after the file's header in
// place of the source's own. False, with target untouched, when source is no longer the file
// stamp describes, cannot be read, or the turn would have to trim or garble partial blocks at
// its edges; the caller then encodes the picture instead.
[[nodiscard]] bool saveJpegTurned(std::u16string_view source, const image::FileStamp& stamp,
                                  image::Turn turn, std::span<const JpegMarker> markers,
                                  std::u16string_view target);

} // namespace velmora::codecs
