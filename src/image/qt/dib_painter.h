// Text drawing into a DibImage with a text style (font, text colour, background colour and mode),
// through a QPainter on a QImage that views the image's bytes.
#pragma once

#include "image/dib_image.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <string>

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

// The logical-font record text is drawn with.
struct FontDescription {
    int32_t height = 9;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = 1;
    std::u16string faceName = u"System";
};

// Font height of text on a screen of dpiY pixels per inch.
constexpr int32_t fontHeightForDpi(int32_t dpiY) {
    return (dpiY * 9 + 48) / 96;
}

// How text is drawn. Colours are 0x00BBGGRR values; an opaque style fills the text's background.
struct TextStyle {
    FontDescription font;
    uint32_t textColor = 0;
    uint32_t backColor = 0;
    bool opaque = true;
};

// A QImage (Format_BGR888, the image's stride) sharing the image's pixels; null without pixels.
// It must not outlive the pixels.
QImage viewOf(DibImage& image);
// The same, read-only: painting into it would copy the pixels first.
QImage viewOf(const DibImage& image);

// Draws text into the rectangle, clipped to it unless kTextNoClip is given. Returns false when
// the image has no pixels. Needs a QGuiApplication for its fonts.
[[nodiscard]] bool drawText(DibImage& image, const TextStyle& style, PixelRect rect,
                            const QString& text, int flags);
[[nodiscard]] bool drawText(DibImage& image, const TextStyle& style, PixelRect rect,
                            const std::u16string& text, int flags);

} // namespace velmora::image
