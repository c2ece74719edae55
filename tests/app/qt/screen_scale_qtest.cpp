// One DPI model, run with Qt's scale factor 2 as an emulated --screen 480x640@192 sets it (the
// same factor a HiDPI desktop at device pixel ratio 2 has): every window, menu and box scales
// with the bars, and pictures stay one picture pixel per device pixel.
#include "shell_sandbox.h"

#include "app/main_window.h"
#include "app/menu_bar.h"
#include "app/nav_toolbar.h"
#include "platform/screen.h"
#include "ui/message_box.h"
#include "ui/qt/qt_message_box.h"
#include "ui/string_table.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace velmora;
using namespace velmora::app;

namespace {

constexpr platform::qt::EmulatedScreen kScreen192{480, 640, 192};

// Sizes are measured in Qt's window coordinates, whose fonts and metrics stay those of 96 DPI;
// the device size is that times the window's device pixel ratio.
QSize deviceSize(const QWidget& widget) {
    return widget.sizeHint() * widget.devicePixelRatioF();
}

} // namespace

class ScreenScaleTest : public QObject {
    Q_OBJECT

  private slots:
    void emulatedDpiScalesBarsMenusAndBoxesAlike() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer({}, kScreen192);
        QVERIFY(viewer);
        MainWindow& window = viewer->mainWindow();
        QCOMPARE(window.devicePixelRatioF(), 2.0);
        QCOMPARE(window.logicalDpiY(), 96);
        QCOMPARE(platform::screenDpiY(), 192);
        // The emulated screen is 480x640 device pixels, and the surface is in device pixels.
        QCOMPARE(window.grab().toImage().size(), QSize(480, 640));
        const int barsHeight = viewer->menuBar()->height() + viewer->toolBar()->height();
        QCOMPARE(viewer->pictureView().surface().width(), 480);
        QCOMPARE(viewer->pictureView().surface().height(), 640 - 2 * barsHeight);
        // The bars keep their 96-DPI layout and are drawn twice as large.
        QCOMPARE(viewer->toolBar()->iconSize(), QSize(16, 16));

        auto* fileButton = viewer->menuBar()->findChild<QToolButton*>(QStringLiteral("buttonFile"));
        QVERIFY(fileButton);
        fileButton->click();
        QMenu& fileMenu = viewer->menuBar()->fileMenu();
        QTRY_VERIFY(fileMenu.isVisible());
        QCOMPARE(deviceSize(fileMenu), fileMenu.sizeHint() * 2);
        fileMenu.close();

        viewer->showPopupMenu();
        auto* popup = window.findChild<QMenu*>(QStringLiteral("popupMenu"));
        QVERIFY(popup);
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(deviceSize(*popup), popup->sizeHint() * 2);
        popup->close();

        ui::QtMessageBox seam; // the real box instead of the sandbox's recorder
        QApplication::setActiveWindow(&window);
        QSize boxHint;
        QSize boxDevice;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxHint = box->sizeHint();
                boxDevice = deviceSize(*box);
                box->accept();
            }
        });
        ui::showInfo(ui::str::kOperationFailed);
        QVERIFY(!boxHint.isEmpty());
        QCOMPARE(boxDevice, boxHint * 2);
    }

    void originalSizeIsOnePicturePixelPerDevicePixel() {
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("square.png", 100, 100);
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(picture), std::nullopt);
        QVERIFY(viewer);
        QCOMPARE(platform::screenDpiX(), 192); // a desktop at device pixel ratio 2
        QCOMPARE(viewer->settings.initialZoom, image::InitialZoom::Original); // original size
        QCOMPARE(viewer->pictureView().state().displayWidth, 100);
        QCOMPARE(viewer->pictureView().surface().width(), viewer->mainWindow().width() * 2);

        // On the screen: exactly 100x100 device pixels are not the black background.
        const QImage shown = viewer->mainWindow().grab().toImage().copy(
            0, 0, viewer->pictureView().surface().width(),
            viewer->pictureView().surface().height());
        int pictureArea = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                pictureArea += qGray(shown.pixel(x, y)) != 0 ? 1 : 0;
            }
        }
        QCOMPARE(pictureArea, 100 * 100);
    }
};

int main(int argc, char** argv) {
    platform::qt::prepareScaleFactor(kScreen192);
    QApplication application(argc, argv);
    ScreenScaleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "screen_scale_qtest.moc"
