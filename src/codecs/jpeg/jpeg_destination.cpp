#include "codecs/jpeg/jpeg_destination.h"

#include <jerror.h>

namespace velmora::codecs::jpeg {
namespace {

WriterDestination* destinationOf(j_compress_ptr cinfo) {
    return reinterpret_cast<WriterDestination*>(cinfo->dest);
}

void resetBuffer(WriterDestination* destination) {
    destination->library.next_output_byte = destination->buffer;
    destination->library.free_in_buffer = kDestinationBufferSize;
}

void initDestination(j_compress_ptr cinfo) {
    resetBuffer(destinationOf(cinfo));
}

boolean emptyOutputBuffer(j_compress_ptr cinfo) {
    WriterDestination* destination = destinationOf(cinfo);
    if (!destination->writer->write(destination->buffer, kDestinationBufferSize)) {
        ERREXIT(cinfo, JERR_FILE_WRITE);
    }
    resetBuffer(destination);
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    WriterDestination* destination = destinationOf(cinfo);
    const size_t pending = kDestinationBufferSize - destination->library.free_in_buffer;
    if (!destination->writer->write(destination->buffer, pending)) {
        ERREXIT(cinfo, JERR_FILE_WRITE);
    }
}

} // namespace

jpeg_destination_mgr* prepareDestination(WriterDestination& destination, SafeFileWriter& writer) {
    destination.library.init_destination = initDestination;
    destination.library.empty_output_buffer = emptyOutputBuffer;
    destination.library.term_destination = termDestination;
    destination.writer = &writer;
    resetBuffer(&destination);
    return &destination.library;
}

} // namespace velmora::codecs::jpeg
