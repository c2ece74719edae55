// What the readers, loadImage and the writers report. They show nothing: each caller turns the
// cause into its own message, or none.
#pragma once

#include "util/result.h"

namespace velmora::codecs {

enum class LoadCause {
    Loaded,
    LoadedNotUpright,   // no memory for the upright copy: the picture stays as stored
    Unsupported,        // no reader takes the file (its extension, or a kind of TIFF)
    CannotOpen,         // missing, not a regular file, or not readable
    ReadError,          // opened, but its size or position could not be had
    Faulty,             // refused as faulty: BMP, a GIF without a picture, no PNG signature
    Undecodable,        // given up without naming a fault (the libraries, GIF and MAG structure)
    TooLarge,           // the picture's size is over the image limits
    OutOfMemory,        // the image could not be made at the picture's size
    DecoderOutOfMemory, // a decoder's own buffer could not be had
    Stopped,            // the caller asked the decode to stop before it was done
};

// True while the picture is in the image (perhaps not turned upright).
using LoadResult = util::Result<LoadCause, LoadCause::Loaded, LoadCause::LoadedNotUpright>;

enum class SaveCause { Saved, NoPicture, WriteFailed, UnknownType };
using SaveResult = util::Result<SaveCause, SaveCause::Saved>;

} // namespace velmora::codecs
