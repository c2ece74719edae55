// The 一般 page's dialog memory on a running viewer: the open dialog's first folder and an empty
// file's size, then the type and quality the second save dialog of the run opens with.
#include "shell_sandbox.h"

#include "browse/qt/open_dialog.h"
#include "support/modal_dialog.h"
#include "ui/command.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QtTest>

#include <fstream>

using namespace velmora;

class DialogMemoryTest : public QObject {
    Q_OBJECT

  private slots:
    void dialogsStartFromTheShownPictureAndTheLastChoice_data() {
        QTest::addColumn<bool>("handheld");
        QTest::addColumn<bool>("memory");
        // Open dialog's folder and empty file's size; second save dialog's type and quality.
        QTest::addColumn<QStringList>("seen");
        QTest::newRow("240x320 on") << true << true << QStringList{"P\\", "0KB", "*.BMP", "低"};
        QTest::newRow("240x320 off") << true << false << QStringList{"Q\\", "1KB", "*.JPG", "中"};
        QTest::newRow("desktop on") << false << true << QStringList{"P\\", "0KB", "*.BMP", "低"};
        QTest::newRow("desktop off") << false << false << QStringList{"Q\\", "1KB", "*.JPG", "中"};
    }

    void dialogsStartFromTheShownPictureAndTheLastChoice() {
        QFETCH(bool, handheld);
        QFETCH(bool, memory);
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("P/a.png", 30, 20);
        sandbox.writePicture("Q/b.png", 30, 20);
        std::ofstream(sandbox.root() / "P" / "empty.png"); // zero bytes, listed last
        std::ofstream(sandbox.root() / "Q" / "empty.png");
        settings::lastBrowseDir() = u"Q\\";
        auto viewer = sandbox.startViewer(
            test::ShellSandbox::u16(picture),
            handheld ? std::optional(platform::qt::EmulatedScreen{240, 320, 96}) : std::nullopt);
        QVERIFY(viewer);
        viewer->settings.dialogMemory = memory;

        QStringList seen;
        test::ModalDialogDriver driver;
        driver.onNext([&](QWidget& dialog) {
            seen << QString::fromStdU16String(
                static_cast<browse::qt::OpenDialog&>(dialog).currentFolder());
            const QAbstractItemModel* rows = dialog.findChild<QTreeView*>("fileList")->model();
            seen << rows->index(rows->rowCount() - 1, 1).data().toString();
            static_cast<QDialog&>(dialog).reject();
        });
        viewer->onCommand(ui::Command::Open);
        driver.onNext([](QWidget& dialog) {
            dialog.findChild<QComboBox*>("typeCombo")->setCurrentIndex(1);
            dialog.findChild<QRadioButton*>("qualityLow")->click();
            dialog.findChild<QPushButton*>("okButton")->click();
        });
        viewer->onCommand(ui::Command::Save);
        driver.onNext([&](QWidget& dialog) {
            seen << dialog.findChild<QComboBox*>("typeCombo")->currentText();
            for (const auto* quality : dialog.findChildren<QRadioButton*>()) {
                if (quality->isChecked()) {
                    seen << quality->text();
                }
            }
            static_cast<QDialog&>(dialog).reject();
        });
        viewer->onCommand(ui::Command::Save);
        QCOMPARE(driver.seen, QStringList({"openDialog", "saveDialog", "saveDialog"}));
        QTEST(seen, "seen");
        viewer->onCommand(ui::Command::Exit);
    }
};

QTEST_MAIN(DialogMemoryTest)
#include "dialog_memory_qtest.moc"
