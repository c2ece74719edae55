// The edit list of batch conversion: comma-separated operations applied left to right, each the
// same edit the menu command runs. Names and values:
//   rotate-left, rotate-right, flip-vertical, flip-horizontal, grey, negative, blur, sharpen,
//   emboss; resize=WxH (1..5000 each); resize=W (1..5000, height keeping the ratio);
//   trim=WxH+X+Y (X and Y may be written -N; clamped like the trim command);
//   brightness=N (1..254), contrast=N (1..199), threshold=N (1..254), N the dialog's slider value.
#pragma once

#include "image/dib_image.h"
#include "image/turn.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::edit {

enum class EditKind {
    RotateLeft,
    RotateRight,
    FlipVertical,
    FlipHorizontal,
    Resize,          // width, height
    ResizeKeepRatio, // width
    Trim,            // width, height, left, top
    Brightness,      // value
    Contrast,        // value
    Threshold,       // value
    Grey,
    Negative,
    Blur,
    Sharpen,
    Emboss,
};

struct EditOperation {
    EditKind kind = EditKind::Grey;
    int32_t values[4] = {};
    std::string text; // as written, for messages
};

struct ParsedEditList {
    std::vector<EditOperation> operations;
    std::string error; // one line naming the operation; empty when the list was understood
};

ParsedEditList parseEditList(std::string_view list);

// Runs the operations in order on image. Returns an empty string, or one line naming the
// operation that could not be done (no memory for its new picture); image then holds the
// result of the operations before it.
std::string applyEditList(image::DibImage& image, const std::vector<EditOperation>& operations);

// What the operations come to when every one of them is a quarter turn or a flip; nothing when
// there are none or another kind is among them.
std::optional<image::Turn> onlyTurns(const std::vector<EditOperation>& operations);

} // namespace velmora::edit
