// A first view of a big JPEG from a reduced decode: the library decodes it at 1/2, 1/4 or 1/8 of
// its size when the initial view shows it at most at half size, which takes a fraction of the
// time of the whole picture. The view is laid out for the whole picture's size, so that the
// whole picture, decoded afterwards, takes its place at the same geometry.
#pragma once

#include "codecs/load_result.h"
#include "image/loaded_image.h"
#include "image/view_compose.h"
#include "image/view_state.h"

#include <functional>
#include <string_view>

namespace velmora::browse {

// The largest reduction (8, 4 or 2) whose picture, each side rounded up, is still at least the
// size the initial view for request shows a picture of size whole at; 1 when there is none.
int previewDenominator(image::ViewSize whole, const image::ViewRequest& request);

// Loads a reduced decode of path into image (path remembered) when path is a JPEG that has a
// reduction for request, and sets whole to the whole picture's size. Anything else reads nothing
// and is Unsupported; so is a reduced picture that could not be turned upright.
codecs::LoadResult loadPreview(image::LoadedImage& image, std::u16string_view path,
                               const image::ViewRequest& request, image::ViewSize& whole);

// loadPreview, or a stand-in of the same form.
using PreviewLoader = std::function<codecs::LoadResult(
    image::LoadedImage&, std::u16string_view, const image::ViewRequest&, image::ViewSize&)>;

// Whether path is a JPEG whose initial view for request is shown from a reduced decode.
[[nodiscard]] bool isPreviewed(std::u16string_view path, const image::ViewRequest& request);

// Whether path is a JPEG that a window of a common screen's size would show reduced first under
// options: such a picture is better not decoded whole before the window exists.
[[nodiscard]] bool likelyPreviewed(std::u16string_view path, const image::ViewOptions& options);

} // namespace velmora::browse
