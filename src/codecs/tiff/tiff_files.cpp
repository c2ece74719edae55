// loadTiff and saveTiff: the file ends of the TIFF adapter.
#include "codecs/readers.h"
#include "codecs/safe_file_writer.h"
#include "codecs/tiff/tiff_decoder.h"
#include "codecs/tiff/tiff_encoder.h"
#include "codecs/tiff/tiff_open.h"
#include "platform/device_fs.h"

#include <cstdio>

namespace velmora::codecs {

LoadResult loadTiff(image::DibImage& image, std::u16string_view path) {
    const TiffHandle tiff = openTiffForReading(path);
    switch (decodeTiff(tiff.get(), image)) {
    case TiffDecodeResult::Ok:
        return {LoadCause::Loaded};
    case TiffDecodeResult::NotUpright:
        return {LoadCause::LoadedNotUpright};
    case TiffDecodeResult::NotTiff:
    case TiffDecodeResult::BadSize:
    case TiffDecodeResult::Corrupt:
        break;
    case TiffDecodeResult::Unsupported:
        return {LoadCause::Unsupported};
    case TiffDecodeResult::CreateFailed:
        return {LoadCause::OutOfMemory};
    case TiffDecodeResult::NoMemory:
        return {LoadCause::DecoderOutOfMemory};
    }
    return {LoadCause::Undecodable};
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
