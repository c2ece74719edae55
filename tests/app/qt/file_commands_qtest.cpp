// The file menu's save, copy, move and delete through the viewer's command table, with the real
// save dialog and folder chooser over the main window, on a plain desktop and on the handheld
// screen.
#include "shell_sandbox.h"

#include "app/main_window.h"
#include "support/scoped_environment.h"
#include "ui/command.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace velmora;
using namespace velmora::app;

namespace {

// Once the named dialog shows over the viewer's window, hands it to script.
void whenShown(ViewerApp& viewer, const char* name, std::function<void(QWidget&)> script,
               bool& covered) {
    QTimer::singleShot(0, [&viewer, name, script = std::move(script), &covered] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || dialog->objectName() != QLatin1String(name)) {
            return;
        }
        covered = test::ShellSandbox::placedOverWindow(viewer, *dialog);
        script(*dialog);
    });
}

// Picks the folder \name (below the root) in the folder chooser.
void chooseRootFolder(QWidget& chooser, const QString& name) {
    auto* tree = chooser.findChild<QTreeWidget*>(QStringLiteral("folderTree"));
    QTreeWidgetItem* root = tree->topLevelItem(0);
    root->setExpanded(true);
    for (int i = 0; i < root->childCount(); ++i) {
        if (root->child(i)->text(0) == name) {
            tree->setCurrentItem(root->child(i));
        }
    }
    chooser.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

    static void saveCopyMoveDelete(std::optional<platform::qt::EmulatedScreen> screen) {
        test::ShellSandbox sandbox;
        test::ScopedEnvironment dataHome("XDG_DATA_HOME", (sandbox.config() / "data").string());
        sandbox.writePicture("P/a.png", 30, 20);
        sandbox.writePicture("P/b.png", 40, 30);
        sandbox.writePicture("P/c.png", 50, 40);
        std::filesystem::create_directories(sandbox.root() / "Out");
        auto viewer = sandbox.startViewer({}, screen);
        QVERIFY(viewer);
        viewer->navigator().openInFolder(u"\\P\\a.png");
        viewer->markModified();

        bool covered = false;
        whenShown(
            *viewer, "saveDialog",
            [](QWidget& dialog) {
                QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("folderEdit"))->text(),
                         QStringLiteral("\\P\\"));
                dialog.findChild<QLineEdit*>(QStringLiteral("folderEdit"))->setText("\\Out");
                dialog.findChild<QComboBox*>(QStringLiteral("typeCombo"))->setCurrentIndex(2);
                dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            },
            covered);
        QVERIFY(viewer->onCommand(ui::Command::Save));
        QVERIFY(covered);
        QVERIFY(std::filesystem::exists(sandbox.root() / "Out" / "a.png"));
        QVERIFY(!viewer->isModified());

        covered = false;
        whenShown(
            *viewer, "folderChooser", [](QWidget& chooser) { chooseRootFolder(chooser, "Out"); },
            covered);
        sandbox.boxes.script({ui::kButtonOk}); // replace the saved \Out\a.png
        QVERIFY(viewer->onCommand(ui::Command::Move));
        QVERIFY(covered);
        QCOMPARE(sandbox.boxes.shown.size(), size_t{1});
        QVERIFY(!std::filesystem::exists(sandbox.root() / "P" / "a.png"));
        QCOMPARE(viewer->navigator().currentPath(), std::u16string(u"\\P\\b.png"));
        QCOMPARE(viewer->current().width(), 40);

        whenShown(
            *viewer, "folderChooser", [](QWidget& chooser) { chooseRootFolder(chooser, "Out"); },
            covered);
        QVERIFY(viewer->onCommand(ui::Command::Copy));
        QVERIFY(std::filesystem::exists(sandbox.root() / "Out" / "b.png"));
        QCOMPARE(viewer->navigator().count(), 2);

        sandbox.boxes.script({ui::kButtonOk});
        QVERIFY(viewer->onCommand(ui::Command::Delete));
        QVERIFY(std::filesystem::exists(sandbox.config() / "data" / "Trash" / "files" / "b.png"));
        QCOMPARE(viewer->navigator().currentPath(), std::u16string(u"\\P\\c.png"));
        QCOMPARE(viewer->current().width(), 50);
        QCOMPARE(sandbox.boxes.shown.size(), size_t{2});
        viewer->onCommand(ui::Command::Exit);
    }

  private slots:
    void onTheHandheldScreen() { saveCopyMoveDelete(platform::qt::EmulatedScreen{240, 320, 96}); }
    void onAPlainDesktop() { saveCopyMoveDelete(std::nullopt); }
};

QTEST_MAIN(FileCommandsTest)
#include "file_commands_qtest.moc"
