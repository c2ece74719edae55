// The 一般 page's dialog memory on a running viewer: where the open dialog starts, how it lists an
// empty file, and the type and quality the second save dialog of a run opens with.
#include "shell_sandbox.h"

#include "app/command_ids.h"
#include "browse/qt/open_dialog.h"
#include "settings/app_settings.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <fstream>
#include <functional>

using namespace velmora;
using namespace velmora::app;

namespace {

// Once the named dialog shows, hands it to script, which closes it.
void whenShown(const char* name, std::function<void(QWidget&)> script) {
    QTimer::singleShot(0, [name, script = std::move(script)] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog != nullptr && dialog->objectName() == QLatin1String(name)) {
            script(*dialog);
        }
    });
}

void press(QWidget& dialog, const char* button) {
    dialog.findChild<QPushButton*>(QLatin1String(button))->click();
}

// The size column of the row of that name.
QString sizeOf(QWidget& dialog, const QString& name) {
    const QAbstractItemModel* rows = dialog.findChild<QTreeView*>("fileList")->model();
    for (int row = 0; row < rows->rowCount(); ++row) {
        if (rows->index(row, 0).data().toString() == name) {
            return rows->index(row, 1).data().toString();
        }
    }
    return {};
}

} // namespace

class DialogMemoryTest : public QObject {
    Q_OBJECT

  private slots:
    void dialogsStartFromWhatIsShownAndChosen_data() {
        QTest::addColumn<bool>("handheld");
        QTest::addColumn<bool>("memory");
        QTest::addColumn<QString>("startFolder");
        QTest::addColumn<QString>("emptySize");
        QTest::addColumn<QString>("secondType");
        QTest::addColumn<QString>("secondQuality");
        QTest::newRow("240x320 on") << true << true << "P\\"
                                    << "0KB"
                                    << "*.BMP"
                                    << "qualityLow";
        QTest::newRow("240x320 off") << true << false << "Q\\"
                                     << "1KB"
                                     << "*.JPG"
                                     << "qualityMedium";
        QTest::newRow("desktop on") << false << true << "P\\"
                                    << "0KB"
                                    << "*.BMP"
                                    << "qualityLow";
        QTest::newRow("desktop off") << false << false << "Q\\"
                                     << "1KB"
                                     << "*.JPG"
                                     << "qualityMedium";
    }

    void dialogsStartFromWhatIsShownAndChosen() {
        QFETCH(bool, handheld);
        QFETCH(bool, memory);
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("P/a.png", 30, 20);
        std::filesystem::create_directories(sandbox.root() / "Q");
        for (const char* folder : {"P", "Q"}) {
            std::ofstream(sandbox.root() / folder / "empty.png"); // zero bytes
        }
        settings::lastBrowseDir() = u"Q\\";
        auto viewer = sandbox.startViewer(
            test::ShellSandbox::u16(picture),
            handheld ? std::optional(platform::qt::EmulatedScreen{240, 320, 96}) : std::nullopt);
        QVERIFY(viewer);
        viewer->settings.dialogMemory = memory;

        QString startFolder, emptySize;
        whenShown("openDialog", [&](QWidget& dialog) {
            startFolder = QString::fromStdU16String(
                static_cast<browse::qt::OpenDialog&>(dialog).currentFolder());
            emptySize = sizeOf(dialog, "empty.png");
            press(dialog, "cancelButton");
        });
        viewer->onCommand(kCmdOpen);
        QTEST(startFolder, "startFolder");
        QTEST(emptySize, "emptySize");
        QCOMPARE(settings::lastBrowseDir(), u"Q\\"); // cancelled: the remembered folder stays

        whenShown("saveDialog", [](QWidget& dialog) {
            dialog.findChild<QComboBox*>("typeCombo")->setCurrentIndex(1); // *.BMP
            dialog.findChild<QRadioButton*>("qualityLow")->click();
            press(dialog, "okButton");
        });
        viewer->onCommand(kCmdSave);
        QVERIFY(std::filesystem::exists(sandbox.root() / "P" / "a.bmp"));

        QString secondType, secondQuality;
        whenShown("saveDialog", [&](QWidget& dialog) {
            secondType = dialog.findChild<QComboBox*>("typeCombo")->currentText();
            for (const auto* quality : dialog.findChildren<QRadioButton*>()) {
                if (quality->isChecked()) {
                    secondQuality = quality->objectName();
                }
            }
            press(dialog, "cancelButton");
        });
        viewer->onCommand(kCmdSave);
        QTEST(secondType, "secondType");
        QTEST(secondQuality, "secondQuality");
        viewer->onCommand(kCmdExit);
    }
};

QTEST_MAIN(DialogMemoryTest)
#include "dialog_memory_qtest.moc"
