// Feeds arbitrary bytes to the GIF frame source and plays its frames twice over.
#include "codecs/gif/gif_frame_source.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora::codecs;
    // As for the still reader: large screens only make each frame's copy slow.
    gif::BlockWalker walker({data, size});
    gif::ScreenDescriptor screen;
    if (walker.readHeader(screen) != gif::LoadStatus::Decoded ||
        int64_t{screen.width} * screen.height > 65'536) {
        return 0;
    }
    auto source = gif::GifFrameSource::open(memoryReader({data, size}));
    if (!source) {
        return 0;
    }
    velmora::image::DibImage frame;
    for (int play = 0; play < 2; ++play) {
        int delay = 0;
        for (int i = 0; i < 64 && source->next(frame, delay) == FrameStep::Frame; ++i) {
        }
        source->rewind();
    }
    return 0;
}
