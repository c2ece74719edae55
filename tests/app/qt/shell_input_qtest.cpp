// Keys, hardware buttons, stylus drags and double taps reaching the viewer through its window.
#include "shell_sandbox.h"

#include "app/key_mapping.h"
#include "app/main_window.h"
#include "ui/command.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QWheelEvent>

using namespace velmora;
using namespace velmora::app;

class ShellInputTest : public QObject {
    Q_OBJECT

  private:
    // A viewer showing a 600x900 picture at original size, its window active.
    std::unique_ptr<ViewerApp> startOnLargePicture(test::ShellSandbox& sandbox) {
        auto viewer = sandbox.startViewer(
            test::ShellSandbox::u16(sandbox.writePicture("large.png", 600, 900)));
        if (viewer) {
            QApplication::setActiveWindow(&viewer->mainWindow());
        }
        return viewer;
    }

  private slots:
    void qtKeysMapToVirtualKeys() {
        QCOMPARE(virtualKeyFor(Qt::Key_F1), 0xC1);
        QCOMPARE(virtualKeyFor(Qt::Key_F12), 0xCC);
        QCOMPARE(virtualKeyFor(Qt::Key_N), 0x4E);
        QCOMPARE(virtualKeyFor(Qt::Key_Enter), 0x0D);
        QCOMPARE(virtualKeyFor(Qt::Key_Left), 0x25);
        QCOMPARE(virtualKeyFor(Qt::Key_Down), 0x28);
        QCOMPARE(virtualKeyFor(Qt::Key_Plus), 0x6B);
        QCOMPARE(virtualKeyFor(Qt::Key_Minus), 0x6D);
        QCOMPARE(virtualKeyFor(Qt::Key_F13), 0);
        QCOMPARE(virtualKeyFor(Qt::Key_Tab), 0);
    }

    void arrowKeysScrollByTheMoveStep() {
        test::ShellSandbox sandbox;
        auto viewer = startOnLargePicture(sandbox);
        QVERIFY(viewer);
        const int startX = viewer->pictureView().state().originX;
        QCOMPARE(startX, 240 - 600); // placed top right
        QTest::keyClick(&viewer->mainWindow(), Qt::Key_Left);
        QCOMPARE(viewer->pictureView().state().originX, startX + viewer->settings.moveStepX);
        QTest::keyClick(&viewer->mainWindow(), Qt::Key_Down);
        QCOMPARE(viewer->pictureView().state().originY, -viewer->settings.moveStepY);
    }

    void onlyAssignedButtonsAreTakenOver() {
        test::ShellSandbox sandbox;
        auto viewer = startOnLargePicture(sandbox);
        QVERIFY(viewer);
        const auto& hotKeys = viewer->input().hotKeys();
        const auto button1 = hotKeys.lookup(0xC1);
        QVERIFY(button1.has_value());
        QCOMPARE(button1->id, 0);
        QCOMPARE(button1->modifiers, uint32_t{0x1008});
        QVERIFY(!hotKeys.lookup(0xC7).has_value()); // button 7 has no action

        // Button 5 zooms in; button 7 does nothing.
        const int width = viewer->pictureView().state().displayWidth;
        QTest::keyClick(&viewer->mainWindow(), Qt::Key_F7);
        QCOMPARE(viewer->pictureView().state().displayWidth, width);
        QTest::keyClick(&viewer->mainWindow(), Qt::Key_F5);
        QVERIFY(viewer->pictureView().state().displayWidth > width);

        viewer->onCommand(ui::Command::Exit);
        QVERIFY(viewer->input().hotKeys().empty()); // given back when the window goes
    }

    void buttonReleasesAndInactiveWindowsDoNotAct() {
        test::ShellSandbox sandbox;
        auto viewer = startOnLargePicture(sandbox);
        QVERIFY(viewer);
        const int width = viewer->pictureView().state().displayWidth;
        viewer->input().hotKey(4, 0x1008); // release of button 5
        QCOMPARE(viewer->pictureView().state().displayWidth, width);

        QApplication::setActiveWindow(nullptr);
        viewer->input().hotKey(4, 0x0008);
        QCOMPARE(viewer->pictureView().state().displayWidth, width); // only brought forward
        QApplication::setActiveWindow(&viewer->mainWindow());
        viewer->input().hotKey(4, 0x0008);
        QVERIFY(viewer->pictureView().state().displayWidth > width);
        viewer->input().hotKey(12, 0x0008); // ids past the stored buttons are ignored
    }

    void dragMovesTheViewWithThePen() {
        test::ShellSandbox sandbox;
        auto viewer = startOnLargePicture(sandbox);
        QVERIFY(viewer);
        const image::ViewState before = viewer->pictureView().state();
        QWidget* window = &viewer->mainWindow();
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(130, 140));
        QCOMPARE(viewer->pictureView().state().originX, before.originX + 30);
        QCOMPARE(viewer->pictureView().state().originY, 0); // cannot go above the top edge
        QVERIFY(!viewer->input().isPenDown());

        // Lifting the pen outside the surface ends the drag without moving.
        const image::ViewState moved = viewer->pictureView().state();
        QTest::mousePress(window, Qt::LeftButton, {}, QPoint(100, 100));
        viewer->input().penUp(-5, 100);
        QCOMPARE(viewer->pictureView().state(), moved);
        QVERIFY(!viewer->input().isPenDown());
    }

    void doubleTapOpensThePopupMenu() {
        test::ShellSandbox sandbox;
        auto viewer = startOnLargePicture(sandbox);
        QVERIFY(viewer);
        QTest::mouseDClick(&viewer->mainWindow(), Qt::LeftButton, {}, QPoint(50, 50));
        auto* menu = viewer->mainWindow().findChild<QMenu*>(QStringLiteral("popupMenu"));
        QVERIFY(menu != nullptr);
        QVERIFY(!viewer->input().isPenDown());
        menu->close();
    }

    void desktopRightClickOpensThePopupAtThePointerAndTheWheelScrollsAndZooms() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer(
            test::ShellSandbox::u16(sandbox.writePicture("large.png", 1600, 1200)), std::nullopt);
        QVERIFY(viewer);
        QWidget* window = &viewer->mainWindow();
        // What Qt makes of a right click.
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(120, 70),
                                     window->mapToGlobal(QPoint(120, 70)));
        QApplication::sendEvent(window, &rightClick);
        auto* menu = window->findChild<QMenu*>(QStringLiteral("popupMenu"));
        QVERIFY(menu != nullptr);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), window->mapToGlobal(QPoint(120, 70)));
        menu->close();

        const auto turnWheel = [window](int dy, Qt::KeyboardModifiers modifiers) {
            QWheelEvent event(QPointF(50, 50), window->mapToGlobal(QPointF(50, 50)), QPoint(),
                              QPoint(0, dy), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(window, &event);
        };
        const image::ViewState start = viewer->pictureView().state();
        turnWheel(-120, Qt::NoModifier); // towards the user: like the down arrow
        QCOMPARE(viewer->pictureView().state().originY, start.originY - viewer->settings.moveStepY);
        QCOMPARE(viewer->pictureView().state().displayWidth, start.displayWidth);
        turnWheel(120, Qt::ControlModifier);
        QVERIFY(viewer->pictureView().state().displayWidth > start.displayWidth);
        const int zoomed = viewer->pictureView().state().displayWidth;
        turnWheel(-120, Qt::ControlModifier);
        QVERIFY(viewer->pictureView().state().displayWidth < zoomed);
    }
};

QTEST_MAIN(ShellInputTest)
#include "shell_input_qtest.moc"
