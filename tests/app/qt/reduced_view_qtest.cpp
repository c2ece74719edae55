// A big JPEG in the window is drawn from a reduced decode first. The whole picture then takes its
// place at the same geometry without a compose on the interface thread, or, when a command needs
// more than the reduced picture, is waited for and acted on.
#include "shell_sandbox.h"

#include "ui/command.h"

#include <QTest>

#include <optional>
#include <vector>

using namespace velmora;

Q_DECLARE_METATYPE(std::optional<ui::Command>)

class ReducedViewTest : public QObject {
    Q_OBJECT

  private:
    static std::vector<uint8_t> surfaceBytes(const image::DibImage& surface) {
        const uint8_t* bits = surface.bits();
        return {bits, bits + static_cast<size_t>(surface.stride()) * surface.height()};
    }

  private slots:
    void wholePictureTakesTheReducedViewsPlace_data() {
        QTest::addColumn<bool>("emulated");
        QTest::addColumn<std::optional<ui::Command>>("command");
        QTest::addColumn<QSize>("pictureAfter");
        QTest::newRow("arrives, handheld")
            << true << std::optional<ui::Command>() << QSize(1920, 1440);
        QTest::newRow("arrives, desktop")
            << false << std::optional<ui::Command>() << QSize(1920, 1440);
        QTest::newRow("zoom in") << true << std::optional(ui::Command::ZoomIn) << QSize(1920, 1440);
        QTest::newRow("original size")
            << true << std::optional(ui::Command::OriginalSize) << QSize(1920, 1440);
        QTest::newRow("turn right")
            << true << std::optional(ui::Command::RotateRight) << QSize(1440, 1920);
    }

    void wholePictureTakesTheReducedViewsPlace() {
        QFETCH(bool, emulated);
        QFETCH(std::optional<ui::Command>, command);
        QFETCH(QSize, pictureAfter);
        test::ShellSandbox sandbox;
        image::DibImage picture; // reduced to an eighth on the handheld: one zoom step needs more
        QVERIFY(picture.create(1920, 1440));
        picture.fillColor(0x2060A0);
        static_cast<void>(sandbox.writeJpeg("big.jpg", picture));
        auto viewer = emulated ? sandbox.startViewer() : sandbox.startViewer({}, std::nullopt);
        QVERIFY(viewer);
        viewer->settings.initialZoom = image::InitialZoom::FitWhole;
        browse::Navigator& navigator = viewer->navigator();
        navigator.clearFolderList();
        navigator.appendToFolderList(*platform::toDevicePath(sandbox.root() / "big.jpg"), true);
        navigator.showCurrent();
        QVERIFY(navigator.showsReduced());
        const image::ViewState reducedView = viewer->pictureView().state();
        const uint64_t composed = viewer->pictureView().composeCount();

        if (command) {
            viewer->onCommand(*command);
            QVERIFY(!navigator.showsReduced());
        } else {
            QTRY_VERIFY(!navigator.showsReduced());
            QVERIFY(viewer->pictureView().state() == reducedView);
            QCOMPARE(viewer->pictureView().composeCount(), composed);
        }
        QCOMPARE(QSize(navigator.viewed().width(), navigator.viewed().height()), pictureAfter);
        const std::vector<uint8_t> shown = surfaceBytes(viewer->pictureView().surface());
        viewer->pictureView().redraw();
        QVERIFY(shown == surfaceBytes(viewer->pictureView().surface()));
        viewer->clearModified();
    }
};

QTEST_MAIN(ReducedViewTest)
#include "reduced_view_qtest.moc"
