// The 3 x 3 neighbourhood filters. Each channel is filtered on its own from three row buffers
// that hold the unfiltered rows above, at and below the row being written; the outermost rows
// and columns keep their values, and a picture two pixels wide or high (or less) is left alone
// without any progress. Progress: j * 33 / H + channel * 33 after each row j that is a multiple
// of 32, then 100.
#pragma once

#include "edit/progress.h"
#include "image/dib_image.h"

namespace velmora::edit {

// The mean of the eight neighbours (the centre left out), integer division by 8.
// False only when the row buffers cannot be had; the picture is then unchanged.
[[nodiscard]] bool blur(image::DibImage& image, const Progress& progress = {});
// 5 x centre minus the four direct neighbours, limited to 0..255.
[[nodiscard]] bool sharpen(image::DibImage& image, const Progress& progress = {});
// (above-left + above + left - 2 x right - below) / 4 truncated toward zero, plus 128, limited to
// 0..255.
[[nodiscard]] bool emboss(image::DibImage& image, const Progress& progress = {});

} // namespace velmora::edit
