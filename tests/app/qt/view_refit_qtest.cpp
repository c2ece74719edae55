// A fit follows the surface whenever it changes size (leaving or entering full screen, rotation,
// a resized or maximised window); a zoom chosen by hand keeps its size.
#include "shell_sandbox.h"

#include "app/command_ids.h"
#include "app/main_window.h"
#include "image/view_geometry.h"

#include <QTest>

using namespace velmora;
using namespace velmora::app;

namespace {

enum class Mode { FitWhole, FitWidth, FitHeight, AutoFit, ZoomIn, Original };
enum class Change { LeaveFullScreen, EnterFullScreen, Rotate, Resize, Maximise };

constexpr image::ViewSize kPicture{1200, 1800};

void applyMode(ViewerApp& viewer, Mode mode) {
    switch (mode) {
    case Mode::FitWhole:
        viewer.onCommand(kCmdFitWhole);
        break;
    case Mode::FitWidth:
        viewer.onCommand(kCmdFitWidth);
        break;
    case Mode::FitHeight:
        viewer.onCommand(kCmdFitHeight);
        break;
    case Mode::AutoFit: // reached through the initial zoom mode
        viewer.settings.dispOpt = image::kZoomAutoFit;
        viewer.onCommand(kCmdRestore);
        break;
    case Mode::ZoomIn:
        viewer.onCommand(kCmdFitWhole);
        viewer.onCommand(kCmdZoomIn);
        break;
    case Mode::Original:
        viewer.onCommand(kCmdOriginalSize);
        break;
    }
}

// The view a fit gives on a fresh state for the surface the viewer has now.
image::ViewState fittedView(ViewerApp& viewer, Mode mode) {
    image::ViewState state;
    image::ViewOptions options;
    options.vOrigin = viewer.settings.vOrigin;
    image::ViewGeometry geometry(state, kPicture,
                                 {viewer.backBuffer.width(), viewer.backBuffer.height()}, options);
    switch (mode) {
    case Mode::FitWhole:
        geometry.fitWhole();
        break;
    case Mode::FitWidth:
        geometry.fitWidth();
        break;
    case Mode::FitHeight:
        geometry.fitHeight();
        break;
    default:
        geometry.autoFit();
        break;
    }
    return state;
}

} // namespace

class ViewRefitTest : public QObject {
    Q_OBJECT

  private slots:
    void fitsFollowTheSurfaceAndHandZoomsStay_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("change");
        const std::pair<Mode, const char*> modes[] = {
            {Mode::FitWhole, "fit whole"},   {Mode::FitWidth, "fit width"},
            {Mode::FitHeight, "fit height"}, {Mode::AutoFit, "auto fit"},
            {Mode::ZoomIn, "zoom in"},       {Mode::Original, "original size"}};
        const std::pair<Change, const char*> changes[] = {
            {Change::LeaveFullScreen, "leave full screen"},
            {Change::EnterFullScreen, "enter full screen"},
            {Change::Rotate, "rotation"},
            {Change::Resize, "desktop resize"},
            {Change::Maximise, "desktop maximise"}};
        for (const auto& [change, changeName] : changes) {
            for (const auto& [mode, modeName] : modes) {
                QTest::addRow("%s, %s", changeName, modeName) << int(mode) << int(change);
            }
        }
    }
    void fitsFollowTheSurfaceAndHandZoomsStay() {
        QFETCH(int, mode);
        QFETCH(int, change);
        const bool desktop = Change(change) == Change::Resize || Change(change) == Change::Maximise;
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
            viewer->onCommand(kCmdFullScreen);
        }
        applyMode(*viewer, Mode(mode));
        const image::ViewState before = viewer->view;
        const QSize surface(viewer->backBuffer.width(), viewer->backBuffer.height());

        switch (Change(change)) {
        case Change::LeaveFullScreen:
            viewer->onCommand(kCmdNormalScreen);
            break;
        case Change::EnterFullScreen:
            viewer->onCommand(kCmdFullScreen);
            break;
        case Change::Rotate:
            viewer->onCommand(kCmdRotateScreen);
            break;
        case Change::Resize:
            window.resize(700, 520);
            break;
        case Change::Maximise:
            window.showMaximized();
            break;
        }
        QTRY_VERIFY(QSize(viewer->backBuffer.width(), viewer->backBuffer.height()) != surface);

        if (Mode(mode) == Mode::ZoomIn || Mode(mode) == Mode::Original) {
            QCOMPARE(viewer->view.displayWidth, before.displayWidth);
            QCOMPARE(viewer->view.displayHeight, before.displayHeight);
        } else {
            const image::ViewState fitted = fittedView(*viewer, Mode(mode));
            QCOMPARE(viewer->view.displayWidth, fitted.displayWidth);
            QCOMPARE(viewer->view.displayHeight, fitted.displayHeight);
            QCOMPARE(viewer->view.originX, fitted.originX);
            QCOMPARE(viewer->view.originY, fitted.originY);
        }
        viewer->onCommand(kCmdExit);
    }
};

QTEST_MAIN(ViewRefitTest)
#include "view_refit_qtest.moc"
