// The open command: the open dialog over the main window, and the chosen folder's pictures
// becoming the list the viewer pages through, on a plain desktop and on the handheld screen.
#include "shell_sandbox.h"

#include "app/main_window.h"
#include "settings/app_settings.h"
#include "ui/command.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace velmora;
using namespace velmora::app;

class OpenCommandTest : public QObject {
    Q_OBJECT

  private:
    // Opens the second picture of \P through the dialog; checks the dialog covers the handheld's
    // window, or is centred over a desktop's.
    static void openSecondPicture(ViewerApp& viewer) {
        bool placed = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr || dialog->objectName() != QLatin1String("openDialog")) {
                return;
            }
            placed = test::ShellSandbox::placedOverWindow(viewer, *dialog);
            auto* list = dialog->findChild<QTreeView*>(QStringLiteral("fileList"));
            for (int row : {0, 2}) { // P, then its second picture (after "..")
                const QRect rect = list->visualRect(list->model()->index(row, 0));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
            }
        });
        QVERIFY(viewer.onCommand(ui::Command::Open));
        QVERIFY(placed);
    }

    static void
    opensChosenPictureWithinItsFolder(std::optional<platform::qt::EmulatedScreen> screen) {
        test::ShellSandbox sandbox;
        sandbox.writePicture("P/a.png", 30, 20);
        sandbox.writePicture("P/b.png", 40, 30);
        sandbox.writePicture("P/c.png", 50, 40);
        settings::lastBrowseDir().clear();
        auto viewer = sandbox.startViewer({}, screen);
        QVERIFY(viewer);
        viewer->enterFullScreen();
        openSecondPicture(*viewer);
        QVERIFY(!viewer->isFullScreen());
        QCOMPARE(viewer->navigator().count(), 3);
        QCOMPARE(viewer->navigator().currentIndex(), 1);
        QCOMPARE(viewer->current().width(), 40);
        QCOMPARE(viewer->settings.recentFileAt(0), std::u16string(u"\\P\\b.png"));
        QVERIFY(sandbox.boxes.shown.empty());
        viewer->onCommand(ui::Command::Exit);
    }

  private slots:
    void opensOnTheHandheldScreen() {
        opensChosenPictureWithinItsFolder(platform::qt::EmulatedScreen{240, 320, 96});
    }
    void opensOnAPlainDesktop() { opensChosenPictureWithinItsFolder(std::nullopt); }
};

QTEST_MAIN(OpenCommandTest)
#include "open_command_qtest.moc"
