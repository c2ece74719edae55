// Geometric edits of a whole picture: quarter turns, mirror flips, resize and trim. Each one that
// changes the size builds its result in a new image and swaps it in, so when the memory for the
// new image cannot be had the picture stays as it was and the result says OutOfMemory. A
// picture's alpha plane goes along with its pixels through every one of them.
#pragma once

#include "edit/progress.h"
#include "image/dib_image.h"
#include "image/turn.h"
#include "util/result.h"

#include <cstdint>

namespace velmora::edit {

enum class EditCause { Done, Unchanged, OutOfMemory }; // Unchanged: no picture, or an empty trim
using EditResult = util::Result<EditCause, EditCause::Done>;

// New pixel (j, i) = old pixel (W - 1 - i, j): a quarter turn anticlockwise.
EditResult rotateLeft(image::DibImage& image);
// New pixel (j, i) = old pixel (i, H - 1 - j): a quarter turn clockwise.
EditResult rotateRight(image::DibImage& image);
// Exchanges whole rows, padding included; an odd middle row stays.
void flipVertical(image::DibImage& image);
// Mirrors every row; an odd middle column stays.
void flipHorizontal(image::DibImage& image);
// One of the four above.
EditResult applyTurn(image::DibImage& image, image::TurnStep step);

// Bilinear resample of the whole picture to width x height, reporting progress as it goes.
// Also resamples when the size is unchanged (the result then equals the input).
EditResult resize(image::DibImage& image, int32_t width, int32_t height,
                  const Progress& progress = {});
// The height that keeps the picture's ratio for a new width: width * H / W, integer division.
int32_t keepRatioHeight(int32_t newWidth, int32_t width, int32_t height);

struct TrimRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Limits a rectangle to a W x H picture: left and top first to 0, then to W and H, then width
// and height to what remains. The result may be empty.
TrimRect clampTrim(TrimRect rect, int32_t width, int32_t height);
// Keeps only the clamped rectangle; an empty rectangle and a failed allocation leave the picture
// as it was.
EditResult trim(image::DibImage& image, const TrimRect& rect);

} // namespace velmora::edit
