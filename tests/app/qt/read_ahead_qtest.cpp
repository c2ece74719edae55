// Paging through the window with the read-ahead: the surface the window shows after moving on
// (copied from a view composed ahead where it still fits) is exactly what a redraw composes, on
// the emulated handheld screen, after a screen turn, and on a plain desktop start.
#include "shell_sandbox.h"

#include "codecs/readers.h"
#include "ui/command.h"

#include <QTest>

#include <vector>

using namespace velmora;

class ReadAheadTest : public QObject {
    Q_OBJECT

  private:
    // A picture with a diagonal ramp, so that a reduction of it is not one flat colour.
    static std::u16string writeRamp(test::ShellSandbox& sandbox, const std::string& name, int width,
                                    int height) {
        image::DibImage picture;
        if (!picture.create(width, height)) {
            qFatal("no memory for a test picture");
        }
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint8_t* pixel = picture.row(y) + 3 * x;
                pixel[0] = static_cast<uint8_t>(x + y);
                pixel[1] = static_cast<uint8_t>(3 * x);
                pixel[2] = static_cast<uint8_t>(5 * y);
            }
        }
        const auto host = sandbox.root() / name;
        std::filesystem::create_directories(host.parent_path());
        const std::u16string device = *platform::toDevicePath(host);
        static_cast<void>(codecs::savePng(picture, device));
        return device;
    }

    static std::vector<uint8_t> surfaceBytes(const image::DibImage& surface) {
        const uint8_t* bits = surface.bits();
        return {bits, bits + static_cast<size_t>(surface.stride()) * surface.height()};
    }

    // Moves on and checks the shown surface against a redraw of the same view.
    static void nextMatchesARedraw(app::ViewerApp& viewer, const std::u16string& expected) {
        viewer.onCommand(ui::Command::Next);
        QVERIFY(viewer.current().path == expected);
        const std::vector<uint8_t> shown = surfaceBytes(viewer.pictureView().surface());
        viewer.pictureView().redraw();
        QVERIFY(shown == surfaceBytes(viewer.pictureView().surface()));
    }

  private slots:
    void pagedViewsEqualARedraw_data() {
        QTest::addColumn<bool>("emulated");
        QTest::newRow("emulated 240x320") << true;
        QTest::newRow("plain desktop") << false;
    }

    void pagedViewsEqualARedraw() {
        QFETCH(bool, emulated);
        test::ShellSandbox sandbox;
        const std::vector<std::u16string> pictures = {
            writeRamp(sandbox, "Photos/a.png", 1300, 900),
            writeRamp(sandbox, "Photos/b.png", 700, 1500),
            writeRamp(sandbox, "Photos/c.png", 2000, 1000),
            writeRamp(sandbox, "Photos/d.png", 900, 1200),
        };
        auto viewer = emulated ? sandbox.startViewer() : sandbox.startViewer({}, std::nullopt);
        QVERIFY(viewer);
        for (const image::InitialZoom zoomMode :
             {image::InitialZoom::FitWhole, image::InitialZoom::Original}) {
            viewer->settings.initialZoom = zoomMode;
            browse::Navigator& navigator = viewer->navigator();
            navigator.clearFolderList();
            for (const auto& picture : pictures) {
                navigator.appendToFolderList(picture, navigator.count() == 0);
            }
            navigator.showCurrent();
            navigator.stopLookAhead(); // b is read ahead and its view composed
            nextMatchesARedraw(*viewer, pictures[1]);
            if (emulated) {
                // The turn changes the surface while c is read ahead.
                viewer->onCommand(ui::Command::RotateScreen);
                QCOMPARE(viewer->pictureView().surface().width() >
                             viewer->pictureView().surface().height(),
                         true);
            }
            nextMatchesARedraw(*viewer, pictures[2]);
            nextMatchesARedraw(*viewer, pictures[3]);
            QVERIFY(!navigator.lookAhead().hasPixels()); // the last entry: nothing read ahead
            if (emulated) {
                viewer->onCommand(ui::Command::RotateScreen);
                viewer->onCommand(ui::Command::RotateScreen);
                viewer->onCommand(ui::Command::RotateScreen);
            }
        }
        QVERIFY(sandbox.boxes.shown.empty());
    }
};

QTEST_MAIN(ReadAheadTest)
#include "read_ahead_qtest.moc"
