#include "image/qt/dib_painter.h"

#include <QtTest>

#include <cstring>
#include <vector>

using namespace velmora::image;

namespace {

struct Box {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1; // inclusive; empty when right < 0
    bool empty() const { return right < 0; }
};

// The bounding box of the pixels that differ from the snapshot, and whether any byte of a row's
// padding changed.
Box changedPixels(const DibImage& image, const std::vector<uint8_t>& before, bool& paddingTouched) {
    Box box;
    paddingTouched = false;
    for (int y = 0; y < image.height(); ++y) {
        const uint8_t* now = image.row(y);
        const uint8_t* was = before.data() + static_cast<size_t>(y) * image.stride();
        for (int x = 0; x < image.width(); ++x) {
            if (std::memcmp(now + 3 * x, was + 3 * x, 3) != 0) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
            }
        }
        for (int b = 3 * image.width(); b < image.stride(); ++b) {
            paddingTouched |= now[b] != was[b];
        }
    }
    return box;
}

std::vector<uint8_t> snapshot(const DibImage& image) {
    return {image.bits(), image.bits() + static_cast<size_t>(image.stride()) * image.height()};
}

// A black image of odd width (so rows carry padding) with padding bytes set to a marker.
void makeCanvas(DibImage& image, int width, int height) {
    QVERIFY(image.create(width, height));
    QVERIFY(image.stride() > 3 * width);
    for (int y = 0; y < height; ++y) {
        std::memset(image.row(y) + 3 * width, 0xA5, image.stride() - 3 * width);
    }
}

TextStyle styleOf(uint32_t textColor, bool opaque, uint32_t backColor = 0) {
    TextStyle style;
    style.font.height = 16;
    style.textColor = textColor;
    style.backColor = backColor;
    style.opaque = opaque;
    return style;
}

} // namespace

class DibPainterTest : public QObject {
    Q_OBJECT

  private slots:
    void transparentTextStaysInsideItsRectangleInTheTextColour() {
        DibImage image;
        makeCanvas(image, 101, 40);
        const TextStyle red = styleOf(0x000000FF, false);
        const auto before = snapshot(image);
        QVERIFY(
            drawText(image, red, {10, 8, 60, 24}, QStringLiteral("WWWW画像WWWW"), kTextSingleLine));

        bool paddingTouched = true;
        const Box box = changedPixels(image, before, paddingTouched);
        QVERIFY(!box.empty());
        QVERIFY(!paddingTouched);
        QVERIFY(box.left >= 10 && box.right < 70 && box.top >= 8 && box.bottom < 32);
        int strongestRed = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const uint8_t* pixel = image.row(y) + 3 * x;
                QCOMPARE(int(pixel[0]), 0);
                QCOMPARE(int(pixel[1]), 0);
                strongestRed = std::max<int>(strongestRed, pixel[2]);
            }
        }
        QVERIFY(strongestRed > 200);
    }

    void opaqueTextFillsBehindItWithTheBackColour() {
        DibImage image;
        makeCanvas(image, 61, 30);
        const TextStyle redOnGreen = styleOf(0x000000FF, true, 0x0000FF00);
        const auto before = snapshot(image);
        QVERIFY(drawText(image, redOnGreen, {4, 4, 50, 20}, u"ab", kTextSingleLine));

        bool paddingTouched = true;
        const Box box = changedPixels(image, before, paddingTouched);
        QVERIFY(!paddingTouched);
        QVERIFY(box.left >= 4 && box.right < 54 && box.top >= 4 && box.bottom < 24);
        const uint8_t* corner = image.row(box.top) + 3 * box.left;
        QCOMPARE(int(corner[0]), 0);
        QCOMPARE(int(corner[1]), 255);
        QCOMPARE(int(corner[2]), 0);
    }

    void textIsClippedUnlessAskedNotTo() {
        DibImage clipped, unclipped;
        makeCanvas(clipped, 81, 30);
        makeCanvas(unclipped, 81, 30);
        const TextStyle white = styleOf(0x00FFFFFF, false);
        const QString wide = QStringLiteral("WWWWWWWWWWWW");
        const auto before = snapshot(clipped);
        QVERIFY(drawText(clipped, white, {5, 5, 20, 20}, wide, kTextSingleLine));
        QVERIFY(drawText(unclipped, white, {5, 5, 20, 20}, wide, kTextSingleLine | kTextNoClip));

        bool paddingTouched = true;
        QVERIFY(changedPixels(clipped, before, paddingTouched).right < 25);
        QVERIFY(changedPixels(unclipped, before, paddingTouched).right >= 25);
        QVERIFY(!paddingTouched);
    }

    void verticalPlacementNeedsTheSingleLineFlag() {
        DibImage bottom, top;
        makeCanvas(bottom, 41, 80);
        makeCanvas(top, 41, 80);
        const TextStyle white = styleOf(0x00FFFFFF, false);
        const auto before = snapshot(top);
        QVERIFY(drawText(bottom, white, {0, 0, 41, 80}, u"x", kTextBottom | kTextSingleLine));
        QVERIFY(drawText(top, white, {0, 0, 41, 80}, u"x", kTextBottom));

        bool paddingTouched = true;
        QVERIFY(changedPixels(bottom, before, paddingTouched).top >= 40);
        QVERIFY(changedPixels(top, before, paddingTouched).bottom < 40);
    }

    void imageWithoutPixelsDrawsNothing() {
        DibImage image;
        QVERIFY(viewOf(image).isNull());
        QVERIFY(!drawText(image, TextStyle{}, {0, 0, 10, 10}, u"x", 0));
    }
};

QTEST_MAIN(DibPainterTest)
#include "dib_painter_qtest.moc"
