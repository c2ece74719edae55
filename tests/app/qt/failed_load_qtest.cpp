// After a failed load the view is empty and every command acts on the file the failure box
// named; nothing is written with pixels that were not on the screen.
#include "shell_sandbox.h"

#include "support/modal_dialog.h"
#include "support/scoped_environment.h"
#include "ui/command.h"
#include "ui/string_table.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <fstream>
#include <set>

using namespace velmora;
using namespace velmora::app;
using Screen = std::optional<platform::qt::EmulatedScreen>;
Q_DECLARE_METATYPE(Screen)

namespace {

enum Command { Save, Edit, Info, Delete, Copy };

// Every file below root, relative to it.
std::set<std::string> filesBelow(const std::filesystem::path& root) {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files.insert(std::filesystem::relative(entry.path(), root).generic_string());
        }
    }
    return files;
}

bool allBlack(const image::DibImage& surface) {
    const uint8_t* bits = surface.bits();
    return std::all_of(bits, bits + size_t(surface.stride()) * surface.height(),
                       [](uint8_t byte) { return byte == 0; });
}

} // namespace

class FailedLoadTest : public QObject {
    Q_OBJECT

  private slots:
    void commandsActOnTheNamedFile_data() {
        QTest::addColumn<Screen>("screen");
        QTest::addColumn<bool>("restoreDeleted");
        QTest::addColumn<int>("command");
        const char* commands[] = {"save", "edits", "information", "delete", "copy"};
        for (const Screen& screen :
             {Screen(platform::qt::EmulatedScreen{240, 320, 96}), Screen()}) {
            for (const bool restoreDeleted : {false, true}) {
                for (int command = Save; command <= Copy; ++command) {
                    QTest::addRow("%s, %s, %s", screen ? "240x320" : "desktop",
                                  restoreDeleted ? "restore of a file deleted from outside"
                                                 : "next onto an empty file",
                                  commands[command])
                        << screen << restoreDeleted << command;
                }
            }
        }
    }
    void commandsActOnTheNamedFile() {
        QFETCH(Screen, screen);
        QFETCH(bool, restoreDeleted); // else next onto an empty file
        QFETCH(int, command);
        test::ShellSandbox sandbox;
        test::ScopedEnvironment dataHome("XDG_DATA_HOME", (sandbox.config() / "data").string());
        sandbox.writePicture("P/a.png", 600, 400);
        std::ofstream(sandbox.root() / "P" / "b.jpg"); // empty: cannot be read
        sandbox.writePicture("P/c.png", 50, 30);
        std::filesystem::create_directories(sandbox.root() / "Out");
        auto viewer = sandbox.startViewer({}, screen);
        QVERIFY(viewer);
        viewer->navigator().openInFolder(u"\\P\\a.png");
        QCOMPARE(viewer->current().width(), 600);

        const std::string named = restoreDeleted ? "a.png" : "b.jpg";
        if (restoreDeleted) {
            std::filesystem::remove(sandbox.root() / "P" / "a.png");
        }
        viewer->onCommand(restoreDeleted ? ui::Command::Restore : ui::Command::Next);
        QVERIFY(sandbox.boxes.shown.back().text == u"読込失敗:\n" + util::toUtf16(named));
        QCOMPARE(viewer->navigator().currentPath(), u"\\P\\" + util::toUtf16(named));
        QVERIFY(!viewer->current().hasPixels());
        QVERIFY(allBlack(
            viewer->pictureView().surface())); // nothing of the old picture stays on the screen

        // Delete and copy touch the named file only; nothing else is written or removed.
        std::set<std::string> expected = filesBelow(sandbox.root());
        sandbox.boxes.shown.clear();
        test::ModalDialogDriver dialogs;
        QString infoName;
        switch (command) {
        case Save:
            dialogs.onNext([](QWidget& dialog) { dialog.close(); });
            viewer->onCommand(ui::Command::Save);
            QVERIFY(dialogs.seen.isEmpty());
            QVERIFY(sandbox.boxes.shown.at(0).text ==
                    ui::loadResourceString(ui::str::kNothingToSave));
            break;
        case Edit:
            viewer->onCommand(ui::Command::RotateLeft);
            viewer->onCommand(ui::Command::Negative);
            QVERIFY(!viewer->isModified());
            QVERIFY(allBlack(viewer->pictureView().surface()));
            break;
        case Info:
            dialogs.onNext([&](QWidget& dialog) {
                infoName = dialog.findChild<QLabel*>(QStringLiteral("field1020"))->text();
                dialog.close();
            });
            viewer->onCommand(ui::Command::FileInfo);
            QCOMPARE(infoName, QString::fromStdString(named));
            break;
        case Delete:
            sandbox.boxes.script({ui::kButtonOk});
            viewer->onCommand(ui::Command::Delete);
            expected.erase("P/" + named);
            QCOMPARE(std::filesystem::exists(sandbox.config() / "data" / "Trash" / "files" / named),
                     !restoreDeleted);
            break;
        case Copy:
            dialogs.onNext([](QWidget& chooser) {
                auto* tree = chooser.findChild<QTreeWidget*>(QStringLiteral("folderTree"));
                tree->topLevelItem(0)->setExpanded(true);
                tree->setCurrentItem(
                    tree->findItems("Out", Qt::MatchExactly | Qt::MatchRecursive).value(0));
                chooser.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            });
            viewer->onCommand(ui::Command::Copy);
            if (!restoreDeleted) {
                expected.insert("Out/" + named);
            }
            break;
        }
        QCOMPARE(filesBelow(sandbox.root()), expected);
        viewer->onCommand(ui::Command::Exit);
    }
};

QTEST_MAIN(FailedLoadTest)
#include "failed_load_qtest.moc"
