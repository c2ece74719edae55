// A fit follows the surface whenever it changes size (leaving or entering full screen, rotation,
// a resized or maximised window); a zoom chosen by hand keeps its size.
#include "shell_sandbox.h"

#include "app/main_window.h"
#include "image/view_geometry.h"
#include "ui/command.h"

#include <QTest>

using namespace velmora;
using namespace velmora::app;

namespace {

enum class Change { LeaveFullScreen, EnterFullScreen, Rotate, Resize, Maximise };
constexpr image::ViewSize kPicture{1200, 1800};

// The user's choice before the change and the fit the view then follows (nullptr: by hand).
struct Mode {
    const char* name;
    QList<ui::Command> commands;
    void (image::ViewGeometry::*fit)();
};
const Mode kModes[] = {
    {"fit whole", {ui::Command::FitWhole}, &image::ViewGeometry::fitWhole},
    {"fit width", {ui::Command::FitWidth}, &image::ViewGeometry::fitWidth},
    {"fit height", {ui::Command::FitHeight}, &image::ViewGeometry::fitHeight},
    {"auto fit", {ui::Command::Restore}, &image::ViewGeometry::autoFit}, // the initial zoom mode
    {"zoom in", {ui::Command::FitWhole, ui::Command::ZoomIn}, nullptr},
    {"original size", {ui::Command::OriginalSize}, nullptr}};

} // namespace

class ViewRefitTest : public QObject {
    Q_OBJECT

  private slots:
    void fitsFollowTheSurfaceAndHandZoomsStay_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("mode");
        const char* changes[] = {"leave full screen", "enter full screen", "rotation",
                                 "desktop resize", "desktop maximise"};
        for (int change = 0; change < 5; ++change) {
            for (int mode = 0; mode < 6; ++mode) {
                QTest::addRow("%s, %s", changes[change], kModes[mode].name) << change << mode;
            }
        }
    }
    void fitsFollowTheSurfaceAndHandZoomsStay() {
        QFETCH(int, change);
        QFETCH(int, mode);
        const auto fit = kModes[mode].fit;
        const bool desktop = Change(change) >= Change::Resize;
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("big.png", kPicture.width, kPicture.height);
        auto viewer = desktop ? sandbox.startViewer(test::ShellSandbox::u16(picture), std::nullopt)
                              : sandbox.startViewer(test::ShellSandbox::u16(picture));
        QVERIFY(viewer);
        QWidget& window = viewer->mainWindow();
        if (desktop) {
            window.showNormal();
            window.setGeometry(40, 30, 500, 400);
            QTRY_COMPARE(window.size(), QSize(500, 400));
        }
        if (Change(change) == Change::LeaveFullScreen) {
            viewer->onCommand(ui::Command::FullScreen);
        }
        viewer->settings.initialZoom = image::InitialZoom::AutoFit;
        for (ui::Command command : kModes[mode].commands) {
            viewer->onCommand(command);
        }
        const image::ViewState before = viewer->pictureView().state();
        const QSize surface(viewer->pictureView().surface().width(),
                            viewer->pictureView().surface().height());

        const ui::Command changeCommands[] = {ui::Command::NormalScreen, ui::Command::FullScreen,
                                              ui::Command::RotateScreen};
        if (Change(change) == Change::Resize) {
            window.resize(700, 520);
        } else if (Change(change) == Change::Maximise) {
            window.showMaximized();
        } else {
            viewer->onCommand(changeCommands[change]);
        }
        QTRY_VERIFY(QSize(viewer->pictureView().surface().width(),
                          viewer->pictureView().surface().height()) != surface);

        image::ViewState expected = before;
        if (fit != nullptr) {
            expected = {};
            image::ViewOptions options;
            options.placement = viewer->settings.placement;
            image::ViewGeometry geometry(
                expected, kPicture,
                {viewer->pictureView().surface().width(), viewer->pictureView().surface().height()},
                options);
            (geometry.*fit)();
        }
        QCOMPARE(viewer->pictureView().state().displayWidth, expected.displayWidth);
        QCOMPARE(viewer->pictureView().state().displayHeight, expected.displayHeight);
        if (fit != nullptr) {
            QCOMPARE(QPoint(viewer->pictureView().state().originX,
                            viewer->pictureView().state().originY),
                     QPoint(expected.originX, expected.originY));
        }
        viewer->onCommand(ui::Command::Exit);
    }
};

QTEST_MAIN(ViewRefitTest)
#include "view_refit_qtest.moc"
