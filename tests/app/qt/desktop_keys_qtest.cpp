// A desktop user's keys beside the handheld's, each reaching the command its menu item runs, and
// the desktop title naming the picture and its zoom.
#include "shell_sandbox.h"

#include "app/main_window.h"
#include "support/modal_dialog.h"
#include "ui/command.h"
#include "ui/string_table.h"

#include <QTest>

using namespace velmora;
using namespace velmora::app;

class DesktopKeysTest : public QObject {
    Q_OBJECT

  private slots:
    void desktopKeysRunTheirCommands() {
        const struct {
            const char* name;
            bool fullScreenFirst;
            QKeyCombination keys;
            const char* dialog;                   // the modal dialog the key opens
            std::optional<ui::StringId> question; // the question it asks
            bool closes;
        } cases[] = {
            {"Esc leaves full screen", true, Qt::Key_Escape, "", {}, false},
            {"Esc in a normal window", false, Qt::Key_Escape, "", {}, false},
            {"Delete asks first", false, Qt::Key_Delete, "", ui::str::kReallyDelete, false},
            {"Ctrl+O", false, Qt::CTRL | Qt::Key_O, "openDialog", {}, false},
            {"Ctrl+S", false, Qt::CTRL | Qt::Key_S, "saveDialog", {}, false},
            {"Ctrl+Q", false, Qt::CTRL | Qt::Key_Q, "", {}, true},
        };
        for (const auto& c : cases) {
            test::ShellSandbox sandbox;
            const auto picture = sandbox.writePicture("a.png", 64, 48);
            auto viewer = sandbox.startViewer(test::ShellSandbox::u16(picture), std::nullopt);
            QVERIFY(viewer);
            if (c.fullScreenFirst) {
                viewer->onCommand(ui::Command::FullScreen);
            }
            QApplication::setActiveWindow(&viewer->mainWindow());
            sandbox.boxes.script({ui::kButtonCancel});
            QSignalSpy closed(viewer.get(), &ViewerApp::closed);
            test::ModalDialogDriver driver;
            driver.onNext([](QWidget& shown) { static_cast<QDialog&>(shown).reject(); });

            QTest::keyClick(&viewer->mainWindow(), c.keys.key(), c.keys.keyboardModifiers());

            QCOMPARE(driver.seen.join(QString()), QLatin1String(c.dialog));
            QCOMPARE(sandbox.boxes.shown.size(), size_t{c.question.has_value()});
            if (c.question) {
                QCOMPARE(sandbox.boxes.shown[0].text, ui::loadResourceString(*c.question));
            }
            QVERIFY2(std::filesystem::exists(picture) && !viewer->isFullScreen(), c.name);
            QCOMPARE(closed.count() > 0 || closed.wait(500), c.closes);
        }
    }

    void desktopTitleNamesThePictureAndItsZoom() {
        test::ShellSandbox sandbox;
        const auto picture = test::ShellSandbox::u16(sandbox.writePicture("a.png", 64, 48));
        auto desktop = sandbox.startViewer(picture, std::nullopt);
        QVERIFY(desktop);
        QCOMPARE(desktop->mainWindow().windowTitle(), u"a.png (100%) — Velmora"_qs);
        desktop->onCommand(ui::Command::ZoomIn);
        const int percent = qRound(desktop->pictureView().state().displayWidth * 100.0 / 64);
        QVERIFY(percent > 100);
        QCOMPARE(desktop->mainWindow().windowTitle(), u"a.png (%1%) — Velmora"_qs.arg(percent));
        desktop.reset();
        // An emulated handheld keeps the program's name.
        QCOMPARE(sandbox.startViewer(picture)->mainWindow().windowTitle(), u"Velmora"_qs);
    }
};

QTEST_MAIN(DesktopKeysTest)
#include "desktop_keys_qtest.moc"
