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
    static constexpr int kWidth = 1920;
    static constexpr int kHeight = 1440;

    // A 1920 x 1440 JPEG, written before the viewer starts.
    static std::u16string writeBigPicture(test::ShellSandbox& sandbox) {
        image::DibImage picture;
        if (!picture.create(kWidth, kHeight)) {
            qFatal("no memory for a test picture");
        }
        picture.fillColor(0x2060A0);
        static_cast<void>(sandbox.writeJpeg("big.jpg", picture));
        return *platform::toDevicePath(sandbox.root() / "big.jpg");
    }

    // Shows it at fit whole: its reduced decode is on screen.
    static void showBigPicture(app::ViewerApp& viewer, const std::u16string& path) {
        viewer.settings.initialZoom = image::InitialZoom::FitWhole;
        browse::Navigator& navigator = viewer.navigator();
        navigator.clearFolderList();
        navigator.appendToFolderList(path, true);
        navigator.showCurrent();
        QVERIFY(navigator.showsReduced());
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
        const std::u16string big = writeBigPicture(sandbox);
        auto viewer = emulated ? sandbox.startViewer() : sandbox.startViewer({}, std::nullopt);
        QVERIFY(viewer);
        showBigPicture(*viewer, big);
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
        const std::u16string big = writeBigPicture(sandbox);
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        showBigPicture(*viewer, big);

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
