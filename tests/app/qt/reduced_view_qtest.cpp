// A big JPEG in the window: first drawn from a reduced decode, then from the whole picture at
// the same geometry without composing on the interface thread; commands that need more than the
// reduced picture act on the whole one. On the emulated handheld screen and a plain desktop.
#include "shell_sandbox.h"

#include "ui/command.h"

#include <QTest>

#include <vector>

using namespace velmora;

class ReducedViewTest : public QObject {
    Q_OBJECT

  private:
    static constexpr int kWidth = 1600;
    static constexpr int kHeight = 1200;

    // Shows a 1600 x 1200 JPEG with a pattern at fit whole; its reduced decode is on screen.
    static void showBigPicture(test::ShellSandbox& sandbox, app::ViewerApp& viewer) {
        image::DibImage picture;
        QVERIFY(picture.create(kWidth, kHeight));
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                picture.row(y)[3 * x] = static_cast<uint8_t>((x * y) >> 4);
            }
        }
        static_cast<void>(sandbox.writeJpeg("Photos/big.jpg", picture));
        viewer.settings.initialZoom = image::InitialZoom::FitWhole;
        browse::Navigator& navigator = viewer.navigator();
        navigator.clearFolderList();
        navigator.appendToFolderList(*platform::toDevicePath(sandbox.root() / "Photos/big.jpg"),
                                     true);
        navigator.showCurrent();
        QVERIFY(navigator.showsReduced());
        QVERIFY(navigator.viewed().width() < kWidth / 2);
    }

    static std::vector<uint8_t> surfaceBytes(const image::DibImage& surface) {
        const uint8_t* bits = surface.bits();
        return {bits, bits + static_cast<size_t>(surface.stride()) * surface.height()};
    }

    static void surfaceMatchesARedraw(app::ViewerApp& viewer) {
        const std::vector<uint8_t> shown = surfaceBytes(viewer.pictureView().surface());
        viewer.pictureView().redraw();
        QVERIFY(shown == surfaceBytes(viewer.pictureView().surface()));
    }

  private slots:
    void wholePictureTakesTheReducedViewsPlace_data() {
        QTest::addColumn<bool>("emulated");
        QTest::newRow("emulated 240x320") << true;
        QTest::newRow("plain desktop") << false;
    }

    void wholePictureTakesTheReducedViewsPlace() {
        QFETCH(bool, emulated);
        test::ShellSandbox sandbox;
        auto viewer = emulated ? sandbox.startViewer() : sandbox.startViewer({}, std::nullopt);
        QVERIFY(viewer);
        showBigPicture(sandbox, *viewer);
        const image::ViewState reducedView = viewer->pictureView().state();
        const uint64_t composed = viewer->pictureView().composeCount();

        QTRY_VERIFY(!viewer->navigator().showsReduced());
        QCOMPARE(viewer->navigator().viewed().width(), kWidth);
        QVERIFY(viewer->pictureView().state() == reducedView);
        QCOMPARE(viewer->pictureView().composeCount(), composed);
        surfaceMatchesARedraw(*viewer);
        QVERIFY(sandbox.boxes.shown.empty());
    }

    void commandsNeedingMoreActOnTheWholePicture_data() {
        QTest::addColumn<ui::Command>("command");
        QTest::addColumn<QSize>("pictureAfter");
        QTest::newRow("zoom in") << ui::Command::ZoomIn << QSize(kWidth, kHeight);
        QTest::newRow("original size") << ui::Command::OriginalSize << QSize(kWidth, kHeight);
        QTest::newRow("turn right") << ui::Command::RotateRight << QSize(kHeight, kWidth);
    }

    void commandsNeedingMoreActOnTheWholePicture() {
        QFETCH(ui::Command, command);
        QFETCH(QSize, pictureAfter);
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        showBigPicture(sandbox, *viewer);

        viewer->onCommand(command);
        QVERIFY(!viewer->navigator().showsReduced());
        const image::LoadedImage& shown = viewer->navigator().viewed();
        QCOMPARE(QSize(shown.width(), shown.height()), pictureAfter);
        QVERIFY(viewer->pictureView().state().displayWidth >
                    viewer->pictureView().surface().width() ||
                command == ui::Command::RotateRight);
        surfaceMatchesARedraw(*viewer);
        viewer->clearModified();
    }
};

QTEST_MAIN(ReducedViewTest)
#include "reduced_view_qtest.moc"
