// An animated GIF in the window, on the emulated handheld screen and on a plain desktop start:
// it plays, pauses while the window is minimised or hidden, stops on an edit (which works on the
// frame shown), and with the setting off shows the still picture's first frame and nothing else.
#include "shell_sandbox.h"

#include "codecs/gif_builder.h"
#include "codecs/load_image.h"
#include "ui/command.h"

#include <QTest>

#include <fstream>
#include <vector>

using namespace velmora;

class AnimationTest : public QObject {
    Q_OBJECT

  private:
    // Three 40x30 frames, red, green and blue, 100 ms each, played without end.
    static std::u16string writeThreeFrames(test::ShellSandbox& sandbox) {
        const std::vector<test::Rgb> table = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0, 0, 0}};
        test::GifBuilder gif;
        gif.screen(40, 30, table).application(0);
        for (int i = 0; i < 3; ++i) {
            gif.graphicControl(0, 10, -1).frame(
                {0, 0, 40, 30, false, std::vector<uint8_t>(1200, static_cast<uint8_t>(i)), {}});
        }
        const auto host = sandbox.root() / "three.gif";
        std::ofstream(host, std::ios::binary) << gif.trailer().bytes();
        return *platform::toDevicePath(host);
    }

    static std::unique_ptr<app::ViewerApp> start(test::ShellSandbox& sandbox, bool emulated,
                                                 bool animate, const std::u16string& picture) {
        auto viewer = emulated ? sandbox.startViewer() : sandbox.startViewer({}, std::nullopt);
        if (viewer) {
            viewer->settings.animate = animate;
            viewer->navigator().clearFolderList();
            viewer->navigator().appendToFolderList(picture, true);
            viewer->navigator().showCurrent();
        }
        return viewer;
    }

    // Which of the three frames the picture's middle pixel shows: 0 red, 1 green, 2 blue.
    static int frameShown(app::ViewerApp& viewer) {
        const uint8_t* p = viewer.current().row(15) + 3 * 20;
        return p[2] == 255 ? 0 : p[1] == 255 ? 1 : p[0] == 255 ? 2 : -1;
    }

    static std::vector<uint8_t> pixelsOf(const image::DibImage& image) {
        return {image.bits(), image.bits() + size_t{1} * image.stride() * image.height()};
    }

  private slots:
    void playsPausesAndStops_data() {
        QTest::addColumn<bool>("emulated");
        QTest::newRow("emulated 240x320") << true;
        QTest::newRow("plain desktop") << false;
    }

    void playsPausesAndStops() {
        QFETCH(bool, emulated);
        test::ShellSandbox sandbox;
        const std::u16string picture = writeThreeFrames(sandbox);
        auto viewer = start(sandbox, emulated, true, picture);
        QVERIFY(viewer);
        browse::qt::AnimationPlayer& player = viewer->animation();
        QCOMPARE(frameShown(*viewer), 0);
        QTRY_VERIFY_WITH_TIMEOUT(player.framesShown() >= 4, 3000);
        QCOMPARE(player.frameCount(), 3);
        QVERIFY(frameShown(*viewer) >= 0);

        for (const bool minimise : {true, false}) {
            if (minimise) {
                viewer->mainWindow().showMinimized();
            } else {
                viewer->mainWindow().hide();
            }
            QTest::qWait(50); // a frame already due may still come
            const uint64_t paused = player.framesShown();
            QTest::qWait(400);
            QCOMPARE(player.framesShown(), paused);
            viewer->mainWindow().showNormal();
            QTRY_VERIFY_WITH_TIMEOUT(player.framesShown() >= paused + 2, 3000);
        }

        QVERIFY(viewer->onCommand(ui::Command::RotateRight));
        QVERIFY(!player.isPlaying());
        const int turned = frameShown(*viewer); // 30x40 now: (20, 15) still lies inside
        QVERIFY(turned >= 0);
        QCOMPARE(viewer->current().width(), 30);
        const uint64_t stopped = player.framesShown();
        QTest::qWait(400);
        QCOMPARE(player.framesShown(), stopped);
        QCOMPARE(frameShown(*viewer), turned);
    }

    void settingOffShowsTheStillPicture_data() { playsPausesAndStops_data(); }

    void settingOffShowsTheStillPicture() {
        QFETCH(bool, emulated);
        test::ShellSandbox sandbox;
        const std::u16string picture = writeThreeFrames(sandbox);
        auto viewer = start(sandbox, emulated, false, picture);
        QVERIFY(viewer);
        image::LoadedImage still;
        QVERIFY(codecs::loadImage(still, picture));
        QTest::qWait(400);
        QVERIFY(!viewer->animation().isPlaying());
        QCOMPARE(viewer->animation().framesShown(), uint64_t{0});
        QVERIFY(pixelsOf(viewer->current()) == pixelsOf(still));
    }
};

QTEST_MAIN(AnimationTest)
#include "animation_qtest.moc"
