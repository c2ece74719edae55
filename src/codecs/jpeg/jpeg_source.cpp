#include "codecs/jpeg/jpeg_source.h"

#include <jerror.h>

namespace velmora::codecs::jpeg {
namespace {

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

// What the library's own file source does when the data runs out: warn and pretend the image
// ends here.
boolean supplyEndOfImage(j_decompress_ptr cinfo) {
    WARNMS(cinfo, JWRN_JPEG_EOF);
    cinfo->src->next_input_byte = kEndOfImage;
    cinfo->src->bytes_in_buffer = sizeof kEndOfImage;
    return TRUE;
}

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

void skipInputData(j_decompress_ptr cinfo, long count) {
    jpeg_source_mgr* source = cinfo->src;
    if (count <= 0) {
        return;
    }
    while (count > static_cast<long>(source->bytes_in_buffer)) {
        count -= static_cast<long>(source->bytes_in_buffer);
        source->fill_input_buffer(cinfo); // never suspends: at worst it supplies the end marker
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= static_cast<size_t>(count);
}

boolean fillFromFile(j_decompress_ptr cinfo) {
    auto* source = reinterpret_cast<FileSource*>(cinfo->src);
    const size_t got = std::fread(source->buffer, 1, kFileBufferSize, source->file);
    if (got == 0) {
        if (source->atStart) {
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        }
        return supplyEndOfImage(cinfo);
    }
    source->atStart = false;
    source->library.next_input_byte = source->buffer;
    source->library.bytes_in_buffer = got;
    return TRUE;
}

// All the memory was handed over at the start, so a refill means the data ended.
boolean fillFromMemory(j_decompress_ptr cinfo) {
    if (reinterpret_cast<MemorySource*>(cinfo->src)->size == 0) {
        ERREXIT(cinfo, JERR_INPUT_EMPTY);
    }
    return supplyEndOfImage(cinfo);
}

void setCommon(jpeg_source_mgr& library) {
    library.init_source = initSource;
    library.skip_input_data = skipInputData;
    library.resync_to_restart = jpeg_resync_to_restart;
    library.term_source = termSource;
}

} // namespace

jpeg_source_mgr* prepareFileSource(FileSource& source, std::FILE* file) {
    setCommon(source.library);
    source.library.fill_input_buffer = fillFromFile;
    source.library.next_input_byte = nullptr;
    source.library.bytes_in_buffer = 0;
    source.file = file;
    source.atStart = true;
    return &source.library;
}

jpeg_source_mgr* prepareMemorySource(MemorySource& source, const uint8_t* data, size_t size) {
    setCommon(source.library);
    source.library.fill_input_buffer = fillFromMemory;
    source.size = data != nullptr ? size : 0;
    source.library.next_input_byte = data;
    source.library.bytes_in_buffer = source.size;
    return &source.library;
}

} // namespace velmora::codecs::jpeg
