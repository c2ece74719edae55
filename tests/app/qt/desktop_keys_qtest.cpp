// A desktop user's keys beside the handheld's, each reaching the same command as its menu item,
// and the window title that names the picture and its zoom.
#include "shell_sandbox.h"

#include "app/command_ids.h"
#include "app/main_window.h"
#include "support/modal_dialog.h"
#include "ui/string_table.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;
using namespace velmora::app;

class DesktopKeysTest : public QObject {
    Q_OBJECT

  private slots:
    void desktopKeysRunTheirCommands_data() {
        QTest::addColumn<bool>("fullScreenFirst");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("dialog"); // the modal dialog the key opens
        QTest::addColumn<int>("question");   // the question it asks, or 0
        QTest::addColumn<bool>("fullScreenAfter");
        QTest::addColumn<bool>("closes");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("Esc leaves full screen")
            << true << int(Qt::Key_Escape) << 0 << "" << 0 << false << false;
        QTest::newRow("Esc in a normal window does nothing")
            << false << int(Qt::Key_Escape) << 0 << "" << 0 << false << false;
        QTest::newRow("Delete asks before deleting")
            << false << int(Qt::Key_Delete) << 0 << "" << ui::str::kReallyDelete << false << false;
        QTest::newRow("Ctrl+O opens")
            << false << int(Qt::Key_O) << ctrl << "openDialog" << 0 << false << false;
        QTest::newRow("Ctrl+S saves")
            << false << int(Qt::Key_S) << ctrl << "saveDialog" << 0 << false << false;
        QTest::newRow("Ctrl+Q quits")
            << false << int(Qt::Key_Q) << ctrl << "" << 0 << false << true;
    }
    void desktopKeysRunTheirCommands() {
        QFETCH(bool, fullScreenFirst);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, dialog);
        QFETCH(int, question);
        QFETCH(bool, fullScreenAfter);
        QFETCH(bool, closes);
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("a.png", 64, 48);
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(picture), std::nullopt);
        QVERIFY(viewer);
        MainWindow& window = viewer->mainWindow();
        if (fullScreenFirst) {
            viewer->onCommand(kCmdFullScreen);
        }
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        sandbox.boxes.script({ui::kButtonCancel});
        QSignalSpy closed(viewer.get(), &ViewerApp::closed);
        test::ModalDialogDriver driver;
        driver.onNext([](QWidget& shown) { static_cast<QDialog&>(shown).reject(); });

        QTest::keyClick(&window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        QCOMPARE(driver.seen, dialog.isEmpty() ? QStringList() : QStringList{dialog});
        if (question != 0) {
            QCOMPARE(sandbox.boxes.shown.size(), size_t{1});
            QCOMPARE(sandbox.boxes.shown[0].text, ui::loadResourceString(question));
            QVERIFY(std::filesystem::exists(picture)); // answered Cancel
        } else {
            QVERIFY(sandbox.boxes.shown.empty());
        }
        QCOMPARE(viewer->fullScreen, fullScreenAfter);
        QCOMPARE(closed.count() > 0 || closed.wait(1000), closes);
    }

    void desktopTitleNamesThePictureAndItsZoom() {
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("a.png", 64, 48);
        auto desktop = sandbox.startViewer(test::ShellSandbox::u16(picture), std::nullopt);
        QVERIFY(desktop);
        QCOMPARE(desktop->mainWindow().windowTitle(), QStringLiteral("a.png (100%) — Velmora"));
        desktop->onCommand(kCmdZoomIn);
        const int percent = qRound(desktop->view.displayWidth * 100.0 / 64);
        QVERIFY(percent > 100);
        QCOMPARE(desktop->mainWindow().windowTitle(),
                 QStringLiteral("a.png (%1%) — Velmora").arg(percent));
        desktop.reset();

        // On an emulated handheld the title stays the program's name.
        auto handheld = sandbox.startViewer(test::ShellSandbox::u16(picture));
        QVERIFY(handheld);
        QCOMPARE(handheld->mainWindow().windowTitle(), QStringLiteral("Velmora"));
    }
};

QTEST_MAIN(DesktopKeysTest)
#include "desktop_keys_qtest.moc"
