// Text drawing into a DibImage with the image's own text settings (font height, text colour,
// background colour and mode), through a QPainter on a QImage that views the image's bytes.
#pragma once

#include "image/dib_image.h"

#include <QImage>
#include <QString>

namespace velmora::image {

// Format flags, with the platform's values.
inline constexpr int kTextLeft = 0x00;
inline constexpr int kTextCenter = 0x01;
inline constexpr int kTextRight = 0x02;
inline constexpr int kTextTop = 0x00;
inline constexpr int kTextVCenter = 0x04; // only with kTextSingleLine
inline constexpr int kTextBottom = 0x08;  // only with kTextSingleLine
inline constexpr int kTextWordBreak = 0x10;
inline constexpr int kTextSingleLine = 0x20;
inline constexpr int kTextNoClip = 0x100;
inline constexpr int kTextEndEllipsis = 0x8000; // only with kTextSingleLine: "…" where cut

// A QImage (Format_BGR888, the image's stride) sharing the image's pixels; null without pixels.
// It must not outlive the pixels.
QImage viewOf(DibImage& image);

// Draws text into the rectangle (x, y, w, h), clipped to it unless kTextNoClip is given.
// Returns false when the image has no pixels. Needs a QGuiApplication for its fonts.
bool drawText(DibImage& image, int x, int y, int w, int h, const QString& text, int flags);
bool drawText(DibImage& image, int x, int y, int w, int h, const std::u16string& text, int flags);

} // namespace velmora::image
