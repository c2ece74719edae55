// Cross-checks the program's own readers against Qt's image readers on the same files, where both
// define the same pixels: BMP and PNG written here by Qt in several pixel formats, and the GIF
// samples (drawn by the project's sample script; no transparency). JPEG decoders differ by their
// DCT, and 16-bit grey has no single reduction to 8 bits, so those are left to the format tests.
#include "codecs/readers.h"
#include "platform/device_fs.h"
#include "support/temp_dir.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <functional>

using namespace velmora;

namespace {

using Reader = std::function<codecs::LoadResult(image::DibImage&, std::u16string_view)>;

std::u16string devicePathOf(const QString& hostPath) {
    return platform::toDevicePath(hostPath.toStdString()).value_or(u"");
}

// A picture with gradients, hard edges and odd sizes, so row padding and every channel count.
QImage drawnPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x * y) % 256));
        }
    }
    QPainter painter(&picture);
    painter.fillRect(width / 4, height / 4, width / 3, height / 5, Qt::yellow);
    painter.setPen(Qt::black);
    painter.drawEllipse(QPoint(width / 2, height / 2), width / 5, height / 6);
    return picture;
}

// Counts pixels whose blue, green or red differ between the two pictures.
int differingPixels(const image::DibImage& ours, const QImage& theirs) {
    const QImage rgb = theirs.convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb expected = rgb.pixel(x, y);
            const uint8_t* p = ours.row(y) + 3 * x;
            if (p[0] != qBlue(expected) || p[1] != qGreen(expected) || p[2] != qRed(expected)) {
                ++differing;
            }
        }
    }
    return differing;
}

void expectSamePixels(const QString& file, const Reader& read) {
    image::DibImage ours;
    QVERIFY2(read(ours, devicePathOf(file)), qPrintable(file));
    QImage theirs(file);
    QVERIFY2(!theirs.isNull(), qPrintable(file));
    QCOMPARE(ours.width(), theirs.width());
    QCOMPARE(ours.height(), theirs.height());
    const int differing = differingPixels(ours, theirs);
    QVERIFY2(differing == 0,
             qPrintable(file + QStringLiteral(": %1 pixels differ").arg(differing)));
}

} // namespace

class QtReadersTest : public QObject {
    Q_OBJECT

  private slots:
    void bmpDepthsMatchQt() {
        test::TempDir dir;
        const QImage picture = drawnPicture(37, 23);
        const struct {
            QImage::Format format;
            const char* name;
        } cases[] = {
            {QImage::Format_RGB888, "rgb24.bmp"},
            {QImage::Format_RGB32, "rgb32.bmp"},
            {QImage::Format_Indexed8, "indexed8.bmp"},
            {QImage::Format_Mono, "mono.bmp"},
        };
        for (const auto& c : cases) {
            const QString file = QString::fromStdString((dir.path() / c.name).string());
            QVERIFY(picture.convertToFormat(c.format).save(file, "BMP"));
            expectSamePixels(file, codecs::loadBmp);
        }
    }

    void pngFormatsMatchQt() {
        test::TempDir dir;
        const QImage picture = drawnPicture(41, 29);
        const struct {
            QImage::Format format;
            const char* name;
        } cases[] = {
            {QImage::Format_RGB888, "rgb.png"},       {QImage::Format_RGBX64, "rgb16.png"},
            {QImage::Format_Indexed8, "palette.png"}, {QImage::Format_Grayscale8, "grey.png"},
            {QImage::Format_Mono, "mono.png"},
        };
        for (const auto& c : cases) {
            const QString file = QString::fromStdString((dir.path() / c.name).string());
            QVERIFY(picture.convertToFormat(c.format).save(file, "PNG"));
            expectSamePixels(file, [](image::DibImage& image, std::u16string_view path) {
                return codecs::loadPng(image, path);
            });
        }
    }

    void gifSamplesMatchQt() {
        const QDir samples(QStringLiteral(VELMORA_SAMPLES_DIR));
        const QStringList names{QStringLiteral("gradient.gif"), QStringLiteral("shapes.gif"),
                                QStringLiteral("shapes-interlaced.gif"),
                                QStringLiteral("page-1600x2400.gif")};
        for (const auto& name : names) {
            expectSamePixels(samples.filePath(name), codecs::loadGif);
        }
    }
};

QTEST_GUILESS_MAIN(QtReadersTest)
#include "qt_readers_qtest.moc"
