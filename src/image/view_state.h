// ViewState: where and at which size the current image is drawn on the composition surface, and
// the plain values the view arithmetic reads. There is no stored scale: it is always
// displayWidth / image width.
#pragma once

#include <cstdint>

namespace velmora::image {

// The fit a view follows when the surface changes size; None for a size chosen by hand (original
// size, the zoom steps, an edit that changed the picture's size).
enum class FitMode { None, Whole, Width, Height, Auto };

struct ViewState {
    int32_t displayWidth = 0;  // width at which the current image is drawn
    int32_t displayHeight = 0; // height at which it is drawn
    int32_t originX = 0;       // surface position of the drawn image's top-left corner;
    int32_t originY = 0;       // 0 or negative when the image is larger and scrolled
    int32_t savedOriginX = 0;  // origin to return to when leaving a fit for original size
    int32_t savedOriginY = 0;
    FitMode fit = FitMode::None;

    bool operator==(const ViewState&) const = default;
};

// Width and height of the current image or of the surface (0 x 0 when there is none).
struct ViewSize {
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const ViewSize&) const = default;
};

// Placement of an image that is not larger than the surface (stored as VORIGIN).
enum class Placement : int32_t { TopLeft, Centre, TopRight };

// Order in which a large image is walked screen by screen (SEEKDIREC).
enum class SeekOrder : int32_t { HorizontalFirst, VerticalFirst };

// Initial zoom mode applied after each load (DISPOPT).
enum class InitialZoom : int32_t { Original, FitHeight, FitWidth, FitWhole, AutoFit };

// The settings the view reads, copied from AppSettings by the caller (same names and values).
struct ViewOptions {
    Placement placement = Placement::TopRight;
    SeekOrder seekOrder = SeekOrder::HorizontalFirst;
    int32_t seekStepX = 120;
    int32_t seekStepY = 160;
    InitialZoom initialZoom = InitialZoom::Original;
    bool smoothReduction = true; // smooth reduction when the image is reduced in both directions
    bool showAlpha = true;       // transparent parts over a checkerboard (SHOWALPHA)

    bool operator==(const ViewOptions&) const = default;
};

} // namespace velmora::image
