// A transparent PNG as the user sees it, on the handheld's screen and on a desktop: its
// transparent parts over the checkerboard, never the colour stored under them; with the setting
// off, that colour as before.
#include "shell_sandbox.h"

#include <QTest>

using namespace velmora;
using Screen = std::optional<platform::qt::EmulatedScreen>;
Q_DECLARE_METATYPE(Screen)

namespace {

constexpr QRgb kHidden = qRgb(0, 255, 0);

// 40 x 30: the left half transparent over a bright green, the right half opaque red.
void writeTransparentPng(const std::filesystem::path& host) {
    image::DibImage picture;
    if (!picture.create(40, 30) || !picture.createAlpha()) {
        qFatal("no memory for a test picture");
    }
    picture.fillColor(0x00FF00);
    for (int y = 0; y < 30; ++y) {
        for (int x = 20; x < 40; ++x) {
            std::memcpy(picture.row(y) + 3 * x, "\x00\x00\xFF", 3);
        }
        std::memset(picture.alphaRow(y), 0, 20);
    }
    if (!codecs::savePng(picture, *platform::toDevicePath(host), nullptr, true)) {
        qFatal("test picture not written");
    }
}

QSet<QRgb> coloursOf(const QImage& shown) {
    QSet<QRgb> colours;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            colours.insert(shown.pixel(x, y) | 0xFF000000);
        }
    }
    return colours;
}

} // namespace

class TransparencyTest : public QObject {
    Q_OBJECT

  private slots:
    void transparentPartsShowTheCheckerboard_data() {
        QTest::addColumn<Screen>("screen");
        QTest::newRow("240x320") << Screen(platform::qt::EmulatedScreen{240, 320, 96});
        QTest::newRow("desktop") << Screen();
    }
    void transparentPartsShowTheCheckerboard() {
        QFETCH(Screen, screen);
        test::ShellSandbox sandbox;
        const auto picture = sandbox.root() / "logo.png";
        writeTransparentPng(picture);
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(picture), screen);
        QVERIFY(viewer);
        auto* window = viewer->mainWindow().window();
        QCOMPARE(window->objectName(), u"mainWindow"_qs);
        QTRY_VERIFY(coloursOf(window->grab().toImage()).contains(qRgb(255, 0, 0)));
        const QSet<QRgb> shown = coloursOf(window->grab().toImage());
        QVERIFY(shown.contains(qRgb(238, 238, 238)) && shown.contains(qRgb(204, 204, 204)));
        QVERIFY(!shown.contains(kHidden));

        viewer->settings.showAlpha = false;
        viewer->pictureView().redraw();
        QTRY_VERIFY(coloursOf(window->grab().toImage()).contains(kHidden));
    }
};

QTEST_MAIN(TransparencyTest)
#include "transparency_qtest.moc"
