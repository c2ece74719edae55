// The viewer on a desktop screen (no --screen): the bars and the final size in the first frame,
// the start-up order, full screen and back, the un-maximised frame, and the keyboard focus.
#include "shell_sandbox.h"

#include "app/main_window.h"
#include "app/menu_bar.h"
#include "app/nav_toolbar.h"
#include "browse/picture_preview.h"
#include "ui/command.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QToolButton>

using namespace velmora;
using namespace velmora::app;

class DesktopWindowTest : public QObject {
    Q_OBJECT

  private:
    // What the first painted frame held.
    struct FirstFrame {
        bool painted = false;
        bool barsVisible = false;
        int hiddenButtons = 0;
        int listedPictures = -1;
        QSize surface;
    };

    static QRect workArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    static bool allButtonsVisible(QToolBar& bar) {
        const auto buttons = bar.findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly);
        return std::ranges::all_of(buttons, [](const QToolButton* button) {
            return button->objectName() == QLatin1String("qt_toolbar_ext_button") ||
                   button->isVisible();
        });
    }

    // Starts a desktop viewer on picture, first handing it the early read of its start-up
    // picture when there is one; the first frame is recorded into frame.
    static std::unique_ptr<ViewerApp> startOnDesktop(const std::filesystem::path& picture,
                                                     FirstFrame& frame,
                                                     browse::ReadAhead early = {}) {
        auto viewer = std::make_unique<ViewerApp>(std::nullopt, test::ShellSandbox::u16(picture));
        viewer->navigator().adoptReadAhead(std::move(early));
        QSignalSpy started(viewer.get(), &ViewerApp::startupFinished);
        viewer->start();
        ViewerApp* app = viewer.get();
        QObject::connect(&app->mainWindow(), &MainWindow::firstPainted, app, [app, &frame] {
            frame.painted = true;
            frame.barsVisible = app->menuBar()->isVisible() && app->toolBar()->isVisible();
            frame.hiddenButtons = (allButtonsVisible(*app->menuBar()) ? 0 : 1) +
                                  (allButtonsVisible(*app->toolBar()) ? 0 : 1);
            frame.listedPictures = app->navigator().count();
            frame.surface = {app->pictureView().surface().width(),
                             app->pictureView().surface().height()};
        });
        // A picture at hand is opened before the window is first painted.
        if ((started.count() == 0 && !started.wait(5000)) ||
            !QTest::qWaitFor([&frame] { return frame.painted; }, 5000)) {
            return nullptr;
        }
        return viewer;
    }

  private slots:
    void firstFrameHasBothBarsAtTheFinalSizeBeforeThePictureLoads() {
        test::ShellSandbox sandbox;
        FirstFrame frame;
        auto viewer = startOnDesktop(sandbox.writePicture("a.png", 64, 48), frame);
        QVERIFY(viewer);
        QVERIFY(frame.painted);
        QVERIFY(frame.barsVisible);
        QCOMPARE(frame.hiddenButtons, 0);
        QCOMPARE(frame.listedPictures, 0); // shown first, loaded after
        QCOMPARE(viewer->navigator().count(), 1);

        const QWidget& window = viewer->mainWindow();
        QVERIFY(window.isMaximized());
        QVERIFY(workArea().contains(window.frameGeometry()));
        const int barsHeight = viewer->menuBar()->height() + viewer->toolBar()->height();
        QCOMPARE(frame.surface, QSize(window.width(), window.height() - barsHeight));
        QCOMPARE(QSize(viewer->pictureView().surface().width(),
                       viewer->pictureView().surface().height()),
                 frame.surface);
        QCOMPARE(viewer->menuBar()->geometry().bottom(), window.height() - 1);
    }

    // A start-up picture at hand, decoded by the early read or a big JPEG first shown reduced, is
    // in the first frame (any other is loaded after it, as above).
    void startupPictureAtHandIsInTheFirstFrame() {
        for (const bool big : {false, true}) {
            test::ShellSandbox sandbox;
            std::ofstream(sandbox.userHive()) << "[HKEY_CURRENT_USER\\Software\\Quorrin\\Velmora]\n"
                                                 "\"DISPOPT\"=dword:00000003\n"; // fit the window
            image::DibImage pixels;
            // Big: its view of the window less the bars comes from a 1/4 decode; a view of the
            // whole window (about 800 x 800 offscreen) would take a 1/2 one.
            QVERIFY(pixels.create(big ? 2325 : 64, big ? 3100 : 48));
            (void)sandbox.writeJpeg("a.jpg", pixels);
            const std::u16string path = *platform::toDevicePath(sandbox.root() / "a.jpg");
            browse::ReadAhead early;
            if (!big) {
                QVERIFY(early.start(browse::loadWithCodecs, path, {}));
                early.wait();
            }
            FirstFrame frame;
            auto viewer = startOnDesktop(sandbox.root() / "a.jpg", frame, std::move(early));
            QVERIFY(viewer && frame.painted && frame.barsVisible);
            QCOMPARE(frame.listedPictures, 1);
            QVERIFY(viewer->navigator().currentPath() == path);
            QCOMPARE(viewer->navigator().showsReduced(), big);
            if (big) { // reduced no more than the view needs
                const int denominator =
                    browse::previewDenominator({2325, 3100}, viewer->pictureView().request());
                QCOMPARE(viewer->navigator().viewed().width(),
                         (2325 + denominator - 1) / denominator);
            }
            QVERIFY(sandbox.boxes.shown.empty());
        }
    }

    void fullScreenFitsTheScreenAndLeavingRestoresTheWindow() {
        test::ShellSandbox sandbox;
        FirstFrame frame;
        auto viewer = startOnDesktop(sandbox.writePicture("page.png", 1600, 2400), frame);
        QVERIFY(viewer);
        viewer->onCommand(ui::Command::FitWhole);
        QWidget& window = viewer->mainWindow();
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();

        // Maximised, then with a normal geometry of the user's choice.
        const QRect placed(40, 30, 500, 400);
        for (const bool maximised : {true, false}) {
            if (!maximised) {
                window.showNormal();
                window.setGeometry(placed);
            }
            const QRect before = window.geometry();
            const QSize surfaceBefore(viewer->pictureView().surface().width(),
                                      viewer->pictureView().surface().height());

            viewer->onCommand(ui::Command::FullScreen);
            QCOMPARE(QSize(viewer->pictureView().surface().width(),
                           viewer->pictureView().surface().height()),
                     screen);
            QCOMPARE(viewer->pictureView().state().displayHeight, screen.height());
            QCOMPARE(viewer->pictureView().state().displayWidth, screen.height() * 1600 / 2400);

            viewer->onCommand(ui::Command::NormalScreen);
            QVERIFY(viewer->menuBar()->isVisible() && viewer->toolBar()->isVisible());
            QCOMPARE(window.isMaximized(), maximised);
            // The platform may confirm the restored geometry later, as a desktop does.
            QTRY_COMPARE(window.geometry(), before);
            QTRY_COMPARE(QSize(viewer->pictureView().surface().width(),
                               viewer->pictureView().surface().height()),
                         surfaceBefore);
        }
    }

    void unmaximisingKeepsTheTitleBarOnTheScreen() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer({}, std::nullopt);
        QVERIFY(viewer);
        QWidget& window = viewer->mainWindow();
        window.showNormal();
        window.setGeometry(QRect(QPoint(100, -60), workArea().size()));
        window.showMaximized();
        window.showNormal();
        QVERIFY(workArea().contains(window.frameGeometry()));
    }

    void tabLeavesTheFocusOnThePicture() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer({}, std::nullopt);
        QVERIFY(viewer);
        MainWindow& window = viewer->mainWindow();
        QApplication::setActiveWindow(&window);
        window.setFocus();
        for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab}) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(QApplication::focusWidget(), &window);
        }
        for (const QToolButton* button : window.findChildren<QToolButton*>()) {
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        }
    }
};

QTEST_MAIN(DesktopWindowTest)
#include "desktop_window_qtest.moc"
