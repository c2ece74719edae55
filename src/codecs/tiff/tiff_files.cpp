// loadTiff and saveTiff: the file ends of the TIFF adapter.
#include "codecs/readers.h"
#include "codecs/safe_file_writer.h"
#include "codecs/tiff/tiff_decoder.h"
#include "codecs/tiff/tiff_encoder.h"
#include "codecs/tiff/tiff_open.h"
#include "platform/device_fs.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

#include <cstdio>

namespace velmora::codecs {

// Every read failure is silent here; the caller reports the failed load.
bool loadTiff(image::DibImage& image, std::u16string_view path) {
    const TiffHandle tiff = openTiffForReading(path);
    return decodeTiff(tiff.get(), image) == TiffDecodeResult::Ok;
}

bool saveTiff(const image::DibImage& image, std::u16string_view path) {
    SafeFileWriter writer(path);
    bool saved = false;
    if (writer.isOpen()) {
        // The library writes through its own descriptor, closed before the writer commits.
        const TiffHandle tiff = openTiffForWriting(fileno(writer.file()));
        saved = encodeTiff(image, tiff.get());
    }
    saved = saved && writer.commit();
    if (!saved && image.reportErrors) {
        ui::showError(ui::str::kWriteFailed);
    }
    return saved;
}

} // namespace velmora::codecs
