// After a picture fails to load, the view is empty and every command acts on the file the
// failure box named: save and the edits find no picture, information names that file, delete
// and copy take that file. Nothing is ever written with pixels that were not on the screen.
#include "shell_sandbox.h"

#include "app/command_ids.h"
#include "support/modal_dialog.h"
#include "support/scoped_environment.h"
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

namespace {

enum class Failure { BrokenNext, RestoreDeleted };
enum class Command { Save, Edit, Info, Delete, Copy };

// Every file below the sandbox root, as paths relative to it.
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

// Picks \Out in the folder chooser.
void chooseOut(QWidget& chooser) {
    auto* tree = chooser.findChild<QTreeWidget*>(QStringLiteral("folderTree"));
    QTreeWidgetItem* root = tree->topLevelItem(0);
    root->setExpanded(true);
    for (int i = 0; i < root->childCount(); ++i) {
        if (root->child(i)->text(0) == QLatin1String("Out")) {
            tree->setCurrentItem(root->child(i));
        }
    }
    chooser.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
}

} // namespace

class FailedLoadTest : public QObject {
    Q_OBJECT

    static void commandsActOnTheNamedFile(std::optional<platform::qt::EmulatedScreen> screen) {
        QFETCH(int, failure);
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

        std::string named = "b.jpg";
        if (Failure(failure) == Failure::BrokenNext) {
            viewer->onCommand(kCmdNext);
        } else {
            named = "a.png";
            std::filesystem::remove(sandbox.root() / "P" / "a.png");
            viewer->onCommand(kCmdRestore);
        }
        QVERIFY(!sandbox.boxes.shown.empty());
        QVERIFY(sandbox.boxes.shown.back().text == u"読込失敗:\n" + util::toUtf16(named));
        QCOMPARE(viewer->navigator().currentPath(), u"\\P\\" + util::toUtf16(named));
        QVERIFY(!viewer->current().hasPixels());
        QVERIFY(allBlack(viewer->backBuffer)); // nothing of the old picture stays on the screen

        const std::set<std::string> before = filesBelow(sandbox.root());
        const std::string trashed =
            (sandbox.config() / "data" / "Trash" / "files" / named).string();
        sandbox.boxes.shown.clear();
        test::ModalDialogDriver dialogs;
        QString infoName;
        switch (Command(command)) {
        case Command::Save:
            dialogs.onNext([](QWidget& dialog) { dialog.close(); });
            viewer->onCommand(kCmdSave);
            QVERIFY(dialogs.seen.isEmpty());
            QCOMPARE(sandbox.boxes.shown.size(), size_t{1});
            QVERIFY(sandbox.boxes.shown[0].text == ui::loadResourceString(ui::str::kNothingToSave));
            QCOMPARE(filesBelow(sandbox.root()), before);
            break;
        case Command::Edit:
            viewer->onCommand(kCmdRotateLeft);
            viewer->onCommand(kCmdNegative);
            QVERIFY(!viewer->modified);
            QVERIFY(!viewer->current().hasPixels());
            QVERIFY(allBlack(viewer->backBuffer));
            break;
        case Command::Info:
            dialogs.onNext([&](QWidget& dialog) {
                infoName = dialog.findChild<QLabel*>(QStringLiteral("field1020"))->text();
                dialog.close();
            });
            viewer->onCommand(kCmdFileInfo);
            QCOMPARE(infoName, QString::fromStdString(named));
            break;
        case Command::Delete:
            sandbox.boxes.script({ui::kButtonOk});
            viewer->onCommand(kCmdDelete);
            QCOMPARE(std::filesystem::exists(trashed), Failure(failure) == Failure::BrokenNext);
            for (const std::string& file : before) {
                QCOMPARE(std::filesystem::exists(sandbox.root() / file), file != "P/" + named);
            }
            break;
        case Command::Copy:
            dialogs.onNext(chooseOut);
            viewer->onCommand(kCmdCopy);
            QCOMPARE(std::filesystem::exists(sandbox.root() / "Out" / named),
                     Failure(failure) == Failure::BrokenNext);
            QCOMPARE(filesBelow(sandbox.root() / "Out").size(),
                     size_t{Failure(failure) == Failure::BrokenNext ? 1u : 0u});
            break;
        }
        viewer->onCommand(kCmdExit);
    }

    static void table() {
        QTest::addColumn<int>("failure");
        QTest::addColumn<int>("command");
        const std::pair<Failure, const char*> failures[] = {
            {Failure::BrokenNext, "next onto an empty file"},
            {Failure::RestoreDeleted, "restore of a file deleted from outside"}};
        const std::pair<Command, const char*> commands[] = {{Command::Save, "save"},
                                                            {Command::Edit, "edits"},
                                                            {Command::Info, "information"},
                                                            {Command::Delete, "delete"},
                                                            {Command::Copy, "copy"}};
        for (const auto& [failure, failureName] : failures) {
            for (const auto& [command, commandName] : commands) {
                QTest::addRow("%s, %s", failureName, commandName) << int(failure) << int(command);
            }
        }
    }

  private slots:
    void onTheHandheldScreen_data() { table(); }
    void onTheHandheldScreen() {
        commandsActOnTheNamedFile(platform::qt::EmulatedScreen{240, 320, 96});
    }
    void onAPlainDesktop_data() { table(); }
    void onAPlainDesktop() { commandsActOnTheNamedFile(std::nullopt); }
};

QTEST_MAIN(FailedLoadTest)
#include "failed_load_qtest.moc"
