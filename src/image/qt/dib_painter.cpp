#include "image/qt/dib_painter.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace velmora::image {
namespace {

QColor colorOf(uint32_t color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// "System" names the platform's default face; a height of 0 keeps the default size, and a
// negative height (character height rather than cell height) counts by its size.
QFont fontFor(const FontDescription& description) {
    QFont font = QGuiApplication::font();
    if (!description.faceName.empty() && description.faceName != u"System") {
        font.setFamily(QString::fromStdU16String(description.faceName));
    }
    if (description.height != 0) {
        font.setPixelSize(std::clamp(std::abs(description.height), 1, 4096));
    }
    if (description.weight > 0) {
        font.setWeight(static_cast<QFont::Weight>(std::clamp(description.weight, 100, 900)));
    }
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikeOut);
    return font;
}

int qtFlagsFor(int flags) {
    int qtFlags = (flags & kTextCenter)  ? Qt::AlignHCenter
                  : (flags & kTextRight) ? Qt::AlignRight
                                         : Qt::AlignLeft;
    if (flags & kTextSingleLine) {
        qtFlags |= (flags & kTextVCenter)  ? Qt::AlignVCenter
                   : (flags & kTextBottom) ? Qt::AlignBottom
                                           : Qt::AlignTop;
    } else {
        qtFlags |= Qt::AlignTop;
        if (flags & kTextWordBreak) {
            qtFlags |= Qt::TextWordWrap;
        }
    }
    if (flags & kTextNoClip) {
        qtFlags |= Qt::TextDontClip;
    }
    return qtFlags;
}

} // namespace

QImage viewOf(DibImage& image) {
    if (!image.hasPixels()) {
        return {};
    }
    return QImage(image.bits(), image.width(), image.height(), image.stride(),
                  QImage::Format_BGR888);
}

QImage viewOf(const DibImage& image) {
    if (!image.hasPixels()) {
        return {};
    }
    return QImage(image.bits(), image.width(), image.height(), image.stride(),
                  QImage::Format_BGR888);
}

bool drawText(DibImage& image, const TextStyle& style, PixelRect rect, const QString& text,
              int flags) {
    QImage view = viewOf(image);
    if (view.isNull()) {
        return false;
    }
    QString shown = text;
    if (flags & kTextSingleLine) {
        shown.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    const QFont font = fontFor(style.font);
    if ((flags & kTextSingleLine) && (flags & kTextEndEllipsis)) {
        shown = QFontMetrics(font).elidedText(shown, Qt::ElideRight, rect.width);
    }

    QPainter painter(&view);
    painter.setFont(font);
    painter.setPen(colorOf(style.textColor));
    if (style.opaque) {
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(colorOf(style.backColor));
    }
    painter.drawText(QRect(rect.x, rect.y, rect.width, rect.height), qtFlagsFor(flags), shown);
    return true;
}

bool drawText(DibImage& image, const TextStyle& style, PixelRect rect, const std::u16string& text,
              int flags) {
    return drawText(image, style, rect, QString::fromStdU16String(text), flags);
}

} // namespace velmora::image
