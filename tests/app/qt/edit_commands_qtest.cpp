// The 編集 menu's commands on a running viewer: the view afterwards, the modified flag, the
// dialogs they ask through, the progress box, a failed allocation and restore.
#include "shell_sandbox.h"

#include "app/main_window.h"
#include "ui/command.h"
#include "ui/string_table.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace velmora;
using namespace velmora::app;

namespace {

// Presses OK in the next modal dialog, after setting its new-width field when given.
void answerNextDialog(const QString& newWidth = {}) {
    QTimer::singleShot(0, [newWidth] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog != nullptr);
        if (!newWidth.isEmpty()) {
            dialog->findChild<QLineEdit*>(QStringLiteral("edit1001"))->setText(newWidth);
        }
        dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
}

std::array<uint8_t, 3> firstPixel(ViewerApp& viewer) {
    const uint8_t* p = viewer.current().row(0);
    return {p[0], p[1], p[2]};
}

// The view the actual-size command gives for the current picture.
image::ViewState actualSizeView(ViewerApp& viewer) {
    image::ViewState actual = viewer.pictureView().state();
    const image::DibImage& surface = viewer.pictureView().surface();
    image::ViewGeometry(actual, {viewer.current().width(), viewer.current().height()},
                        {surface.width(), surface.height()}, viewer.pictureView().options())
        .showOriginalSize(false);
    return actual;
}

} // namespace

class EditCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void turnsResetTheViewAndFlipsKeepIt_data() {
        QTest::addColumn<bool>("handheld");
        QTest::newRow("desktop") << false;
        QTest::newRow("240x320") << true;
    }

    void turnsResetTheViewAndFlipsKeepIt() {
        QFETCH(bool, handheld);
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("a.png", 900, 300);
        auto viewer = sandbox.startViewer(
            test::ShellSandbox::u16(picture),
            handheld ? std::optional(platform::qt::EmulatedScreen{240, 320, 96}) : std::nullopt);
        QVERIFY(viewer);
        QVERIFY(!viewer->isModified());

        viewer->onCommand(ui::Command::OriginalSize);
        viewer->pictureView().shiftOrigin(-100 - viewer->pictureView().state().originX,
                                          0); // scrolled
        const image::ViewState scrolled = viewer->pictureView().state();
        QTest::keyClick(&viewer->mainWindow(), Qt::Key_H);
        QTest::keyClick(&viewer->mainWindow(), Qt::Key_V);
        QCOMPARE(viewer->pictureView().state(), scrolled);
        QVERIFY(viewer->isModified());

        viewer->clearModified();
        QTest::keyClick(&viewer->mainWindow(), Qt::Key_L);
        QCOMPARE(viewer->current().width(), 300);
        QCOMPARE(viewer->current().height(), 900);
        QCOMPARE(viewer->pictureView().state(), actualSizeView(*viewer));
        QCOMPARE(viewer->pictureView().state().displayWidth, 300);
        QVERIFY(viewer->isModified());
        QTest::keyClick(&viewer->mainWindow(), Qt::Key_R);
        QCOMPARE(viewer->current().width(), 900);
        QVERIFY(sandbox.boxes.shown.empty());
    }

    void toneCommandsAskForTheirValue() {
        test::ShellSandbox sandbox;
        const auto picture =
            sandbox.writePicture("a.png", 40, 30); // blue 0x33, green 0x66, red 0xCC
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(picture));
        QVERIFY(viewer);
        const image::ViewState shown = viewer->pictureView().state();

        QTimer::singleShot(0, [] {
            QApplication::activeModalWidget()
                ->findChild<QPushButton*>(QStringLiteral("cancelButton"))
                ->click();
        });
        viewer->onCommand(ui::Command::Brightness);
        QVERIFY(!viewer->isModified());
        QCOMPARE(firstPixel(*viewer), (std::array<uint8_t, 3>{0x33, 0x66, 0xCC}));

        answerNextDialog(); // the initial 128 adds 28
        viewer->onCommand(ui::Command::Brightness);
        QCOMPARE(firstPixel(*viewer), (std::array<uint8_t, 3>{0x33 + 28, 0x66 + 28, 0xCC + 28}));
        QVERIFY(viewer->isModified());
        viewer->onCommand(ui::Command::Negative);
        QCOMPARE(firstPixel(*viewer),
                 (std::array<uint8_t, 3>{255 - 0x33 - 28, 255 - 0x66 - 28, 255 - 0xCC - 28}));
        QCOMPARE(viewer->pictureView().state(), shown);

        // Restore shows the file again and clears the flag.
        viewer->onCommand(ui::Command::Restore);
        QCOMPARE(firstPixel(*viewer), (std::array<uint8_t, 3>{0x33, 0x66, 0xCC}));
        QVERIFY(!viewer->isModified());
    }

    void filtersShowProgressWithTheWindowDisabled() {
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("a.png", 50, 200);
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(picture));
        QVERIFY(viewer);
        bool disabledMeanwhile = false;
        QTimer::singleShot(0, [&] { disabledMeanwhile = !viewer->mainWindow().isEnabled(); });
        viewer->onCommand(ui::Command::Emboss);
        QVERIFY(disabledMeanwhile);
        QVERIFY(viewer->mainWindow().isEnabled());
        QVERIFY(viewer->isModified());
        // A uniform picture embosses to 128 inside, the border unchanged.
        QCOMPARE(viewer->current().row(1)[3], uint8_t{128});
        QCOMPARE(viewer->current().row(0)[3], uint8_t{0x33});
    }

    void resizeThatCannotBeMadeLeavesThePicture() {
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("a.png", 2, 60);
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(picture));
        QVERIFY(viewer);
        const image::ViewState shown = viewer->pictureView().state();
        answerNextDialog(QStringLiteral("5000")); // keeps the ratio: 5000 x 150000
        viewer->onCommand(ui::Command::Resize);
        QCOMPARE(sandbox.boxes.shown.size(), size_t{1});
        QCOMPARE(sandbox.boxes.shown[0].text, ui::loadResourceString(ui::str::kImageCreateFailed));
        QCOMPARE(viewer->current().width(), 2);
        QCOMPARE(viewer->current().height(), 60);
        QCOMPARE(firstPixel(*viewer), (std::array<uint8_t, 3>{0x33, 0x66, 0xCC}));
        QCOMPARE(viewer->pictureView().state(), shown);
        QVERIFY(!viewer->isModified());
        QVERIFY(viewer->mainWindow().isEnabled());

        answerNextDialog(QStringLiteral("4")); // 4 x 120
        viewer->onCommand(ui::Command::Resize);
        QCOMPARE(viewer->current().width(), 4);
        QCOMPARE(viewer->current().height(), 120);
        QCOMPARE(viewer->pictureView().state(), actualSizeView(*viewer));
        QVERIFY(viewer->isModified());
    }

    void withoutAPictureNothingHappens() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        for (const ui::Command id :
             {ui::Command::RotateLeft, ui::Command::RotateRight, ui::Command::FlipVertical,
              ui::Command::FlipHorizontal, ui::Command::Resize, ui::Command::Trim,
              ui::Command::Brightness, ui::Command::Contrast, ui::Command::Threshold,
              ui::Command::Grey, ui::Command::Negative, ui::Command::Blur, ui::Command::Sharpen,
              ui::Command::Emboss}) {
            QVERIFY(viewer->onCommand(id));
        }
        QVERIFY(!viewer->isModified());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(sandbox.boxes.shown.empty());
    }
};

QTEST_MAIN(EditCommandsTest)
#include "edit_commands_qtest.moc"
