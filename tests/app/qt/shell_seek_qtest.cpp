// The shell's seek commands: what the surface shows after a seek ends a picture.
#include "shell_sandbox.h"

#include "image/view_compose.h"
#include "ui/command.h"
#include "ui/string_table.h"

#include <QTest>

#include <cstring>

using namespace velmora;
using namespace velmora::app;

class ShellSeekTest : public QObject {
    Q_OBJECT

  private:
    // A 600 x 900 picture whose every pixel differs from its neighbours, so that any shift of
    // the view shows on the surface.
    static std::u16string writePattern(test::ShellSandbox& sandbox, const std::string& name,
                                       int seed) {
        image::DibImage picture;
        if (!picture.create(600, 900)) {
            qFatal("no memory for a test picture");
        }
        for (int y = 0; y < picture.height(); ++y) {
            uint8_t* row = picture.row(y);
            for (int x = 0; x < picture.width(); ++x) {
                row[3 * x] = static_cast<uint8_t>(x + seed);
                row[3 * x + 1] = static_cast<uint8_t>(y);
                row[3 * x + 2] = static_cast<uint8_t>((x * 7) ^ (y * 3));
            }
        }
        const auto device = *platform::toDevicePath(sandbox.root() / name);
        if (!codecs::saveBmp(picture, device)) {
            qFatal("test picture not written");
        }
        return device;
    }

    // A viewer at original size on a folder of two patterns, a.bmp (seed 0) and b.bmp (seed 100),
    // showing the second or the first.
    static std::unique_ptr<ViewerApp> startOnTwoPatterns(test::ShellSandbox& sandbox,
                                                         bool onSecond) {
        const std::u16string first = writePattern(sandbox, "a.bmp", 0);
        const std::u16string second = writePattern(sandbox, "b.bmp", 100);
        auto viewer = sandbox.startViewer();
        if (viewer) {
            viewer->settings.initialZoom = image::InitialZoom::Original;
            browse::Navigator& navigator = viewer->navigator();
            navigator.clearFolderList();
            navigator.appendToFolderList(first, !onSecond);
            navigator.appendToFolderList(second, onSecond);
            navigator.showCurrent();
        }
        return viewer;
    }

    // Whether the surface holds exactly what a fresh redraw of the current view would show.
    static bool surfaceMatchesView(ViewerApp& viewer) {
        image::DibImage fresh;
        if (!fresh.create(viewer.pictureView().surface().width(),
                          viewer.pictureView().surface().height())) {
            return false;
        }
        image::compose(fresh, viewer.current(), viewer.pictureView().state(),
                       viewer.settings.smoothReduction, viewer.settings.showAlpha);
        return std::memcmp(fresh.bits(), viewer.pictureView().surface().bits(),
                           size_t(fresh.stride()) * fresh.height()) == 0;
    }

  private slots:
    void declinedWrapAtTheEndOfAForwardSeekRedrawsTheView() {
        test::ShellSandbox sandbox;
        writePattern(sandbox, "page.bmp", 0);
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(sandbox.root() / "page.bmp"));
        QVERIFY(viewer);
        viewer->settings.initialZoom =
            image::InitialZoom::Original; // original size: a page read in many screens
        viewer->onCommand(ui::Command::OriginalSize);
        // Seek through the one picture until its end asks "最初に戻りますか？"; answer No.
        sandbox.boxes.script({ui::kButtonNo});
        for (int step = 0; step < 100 && sandbox.boxes.shown.empty(); ++step) {
            viewer->onCommand(ui::Command::SeekForward);
        }
        QCOMPARE(sandbox.boxes.shown.size(), size_t{1});
        QCOMPARE(sandbox.boxes.shown[0].text, ui::loadResourceString(ui::str::kBackToFirst));
        // The seek has placed the origin at the start of the last band before asking.
        QCOMPARE(viewer->pictureView().state().originX,
                 viewer->pictureView().surface().width() - 600);
        QVERIFY(surfaceMatchesView(*viewer));
    }

    void backwardSeekEndsOnTheReadingEndOfThePreviousPicture() {
        test::ShellSandbox sandbox;
        auto viewer = startOnTwoPatterns(sandbox, true);
        QVERIFY(viewer);
        browse::Navigator& navigator = viewer->navigator();
        // Top right of the second picture: the first backward step goes to the previous file,
        // shown from its last screen (bottom left, reading right to left).
        viewer->onCommand(ui::Command::SeekBackward);
        QCOMPARE(navigator.currentIndex(), 0);
        QVERIFY(sandbox.boxes.shown.empty());
        QCOMPARE(viewer->pictureView().state().originX, 0);
        QCOMPARE(viewer->pictureView().state().originY,
                 viewer->pictureView().surface().height() - 900);
        QVERIFY(surfaceMatchesView(*viewer));
        QCOMPARE(viewer->current().row(0)[0], uint8_t{0}); // the first picture's own pixels
    }

    void forwardSeekOntoAReadAheadPictureComposesNothingMore() {
        test::ShellSandbox sandbox;
        auto viewer = startOnTwoPatterns(sandbox, false);
        QVERIFY(viewer);
        browse::Navigator& navigator = viewer->navigator();
        QTRY_VERIFY(navigator.lookAhead().ready.load());
        uint64_t composed = 0;
        for (int step = 0; step < 100 && navigator.currentIndex() == 0; ++step) {
            composed = viewer->pictureView().composeCount();
            viewer->onCommand(ui::Command::SeekForward);
        }
        QCOMPARE(navigator.currentIndex(), 1);
        QCOMPARE(viewer->pictureView().composeCount(), composed);
        QVERIFY(surfaceMatchesView(*viewer));
        QCOMPARE(viewer->current().row(0)[0], uint8_t{100}); // the second picture's own pixels
    }
};

QTEST_MAIN(ShellSeekTest)
#include "shell_seek_qtest.moc"
