// Start-up and exit of the viewer: the start-up picture, the fall-back to the newest recent
// file, a damaged settings file, and the settings written when the window closes.
#include "shell_sandbox.h"

#include "app/main_window.h"
#include "app/startup_path.h"
#include "ui/command.h"

#include <QTest>

#include <fstream>

using namespace velmora;
using namespace velmora::app;

class StartupTest : public QObject {
    Q_OBJECT

  private:
    // Runs a viewer that shows picture and closes with the quit command, leaving it as the
    // newest recent file in the settings.
    static void viewAndQuit(test::ShellSandbox& sandbox, const std::filesystem::path& picture) {
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(picture));
        QVERIFY(viewer);
        QCOMPARE(viewer->navigator().count(), 1);
        viewer->onCommand(ui::Command::Exit);
    }

  private slots:
    void commandLineIsTrimmedAndUnquoted() {
        QCOMPARE(trimAndUnquote(u" \t\"\\Photos\\a.jpg\"\t "), std::u16string(u"\\Photos\\a.jpg"));
        QCOMPARE(trimAndUnquote(u"'/p/b.png'"), std::u16string(u"/p/b.png"));
        QCOMPARE(trimAndUnquote(u"\"/p/c d.png"), std::u16string(u"/p/c d.png"));
        // Too short to be unquoted, or short again after the leading quote went.
        QCOMPARE(trimAndUnquote(u"\"\""), std::u16string(u"\"\""));
        QCOMPARE(trimAndUnquote(u"\"a\""), std::u16string(u"a\""));
        QCOMPARE(trimAndUnquote(u"   "), std::u16string());
    }

    void quotedPicturePathIsShownAsAOneEntryList() {
        test::ShellSandbox sandbox;
        sandbox.writePicture("Photos/b.png", 20, 10);
        const auto picture = sandbox.writePicture("Photos/a.png", 30, 20);
        const std::u16string quoted = u"  \"" + test::ShellSandbox::u16(picture) + u"\" ";
        auto viewer = sandbox.startViewer(quoted);
        QVERIFY(viewer);
        QCOMPARE(viewer->navigator().count(), 1); // the folder is not listed
        QCOMPARE(viewer->navigator().currentPath(), std::u16string(u"\\Photos\\a.png"));
        QCOMPARE(viewer->current().width(), 30);
        QVERIFY(viewer->pictureView().state().displayWidth > 0);
        QVERIFY(sandbox.boxes.shown.empty());
    }

    void unusableStartupPathsFallBackToTheLastFile() {
        test::ShellSandbox sandbox;
        const auto last = sandbox.writePicture("last.png", 16, 16);
        viewAndQuit(sandbox, last);
        std::ofstream(sandbox.root() / "notes.txt") << "not a picture";
        outside_ = std::filesystem::temp_directory_path() / "velmora-outside-root.png";
        std::filesystem::copy_file(last, outside_,
                                   std::filesystem::copy_options::overwrite_existing);

        // A named file that is not there (or lies outside the root) is reported first.
        const std::pair<std::u16string, bool> unusable[] = {
            {test::ShellSandbox::u16(sandbox.root() / "missing.png"), true},
            {test::ShellSandbox::u16(sandbox.root() / "notes.txt"), false},
            {test::ShellSandbox::u16(outside_), true},
            {u"", false}};
        for (const auto& [path, reported] : unusable) {
            sandbox.boxes.shown.clear();
            auto viewer = sandbox.startViewer(path);
            QVERIFY(viewer);
            QCOMPARE(viewer->navigator().currentPath(), std::u16string(u"\\last.png"));
            QCOMPARE(sandbox.boxes.shown.size(), size_t{reported ? 1u : 0u});
            QVERIFY(!reported || sandbox.boxes.shown[0].text == u"ファイルは存在しません");
            // Reopened at every start, and still listed once.
            QCOMPARE(viewer->settings.recentFileCount(), 1);
            viewer->onCommand(ui::Command::Exit);
        }
    }

    void withoutOpenLastFileNothingIsShown() {
        test::ShellSandbox sandbox;
        viewAndQuit(sandbox, sandbox.writePicture("last.png", 16, 16));
        {
            auto viewer = sandbox.startViewer();
            QVERIFY(viewer);
            viewer->settings.openLastFile = false;
            viewer->onCommand(ui::Command::Exit);
        }
        auto viewer = sandbox.startViewer(test::ShellSandbox::u16(sandbox.root() / "gone.png"));
        QVERIFY(viewer);
        QCOMPARE(viewer->navigator().count(), 0);
        QVERIFY(!viewer->current().hasPixels());
    }

    void damagedSettingsFileNeverStopsStartUp() {
        test::ShellSandbox sandbox;
        std::ofstream(sandbox.userHive(), std::ios::binary)
            << "\xFF\xFE garbage [HKEY_CURRENT_USER\\Software\\Quorrin\\Velmora\n"
               "\"XMOVE\"=dword:zz\n\"YMOVE\"=dword:00000040\n[unterminated\n\0\0\0";
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        QVERIFY(viewer->mainWindow().isVisible());
        QCOMPARE(viewer->settings.moveStepX, 32); // malformed value: default kept
        QVERIFY(viewer->pictureView().surface().hasPixels());
    }

    void exitAsksAboutEditsThenWritesTheUserHive() {
        test::ShellSandbox sandbox;
        QVERIFY(!std::filesystem::exists(sandbox.userHive()));
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        viewer->settings.moveStepX = 77;
        viewer->markModified();
        QSignalSpy closed(viewer.get(), &ViewerApp::closed);
        sandbox.boxes.script({ui::kButtonNo}); // drop the edits
        viewer->onCommand(ui::Command::Exit);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!viewer->mainWindow().isVisible());
        QCOMPARE(sandbox.boxes.shown.size(), size_t{1});
        QVERIFY(test::ShellSandbox::readFile(sandbox.userHive()).find("\"XMOVE\"=dword:0000004d") !=
                std::string::npos);
    }

    void closeCommandIsPostedAndSavesToo() {
        test::ShellSandbox sandbox;
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        QSignalSpy closed(viewer.get(), &ViewerApp::closed);
        viewer->onCommand(ui::Command::Close);
        QCOMPARE(closed.count(), 0); // posted, not done at once
        QTRY_COMPARE(closed.count(), 1);
        QVERIFY(std::filesystem::exists(sandbox.userHive()));
    }

    void cleanup() {
        if (!outside_.empty()) {
            std::filesystem::remove(outside_);
        }
    }

  private:
    std::filesystem::path outside_;
};

QTEST_MAIN(StartupTest)
#include "startup_qtest.moc"
