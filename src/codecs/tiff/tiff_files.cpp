// loadTiff and saveTiff: the file ends of the TIFF adapter.
#include "codecs/readers.h"
#include "codecs/safe_file_writer.h"
#include "codecs/tiff/tiff_decoder.h"
#include "codecs/tiff/tiff_encoder.h"
#include "codecs/tiff/tiff_open.h"
#include "platform/device_fs.h"

#include <cstdio>

namespace velmora::codecs {

LoadResult loadTiff(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata) {
    const TiffHandle tiff = openTiffForReading(path);
    using enum TiffDecodeResult;
    const TiffDecodeResult result = decodeTiff(tiff.get(), image, {}, metadata);
    return {result == Ok             ? LoadCause::Loaded
            : result == NotUpright   ? LoadCause::LoadedNotUpright
            : result == Unsupported  ? LoadCause::Unsupported
            : result == CreateFailed ? LoadCause::OutOfMemory
            : result == NoMemory     ? LoadCause::DecoderOutOfMemory
                                     : LoadCause::Undecodable};
}

SaveResult saveTiff(const image::DibImage& image, std::u16string_view path) {
    SafeFileWriter writer(path);
    bool saved = false;
    if (writer.isOpen()) {
        // The library writes through its own descriptor, closed before the writer commits.
        const TiffHandle tiff = openTiffForWriting(fileno(writer.file()));
        saved = encodeTiff(image, tiff.get());
    }
    return {saved && writer.commit() ? SaveCause::Saved : SaveCause::WriteFailed};
}

} // namespace velmora::codecs
