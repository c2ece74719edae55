// Undo and redo on a running viewer: from the 編集 menu and with Ctrl+Z, Ctrl+Y and
// Ctrl+Shift+Z, with the modified flag following, and forgotten when a picture is read again.
#include "shell_sandbox.h"

#include "app/main_window.h"
#include "app/menu_bar.h"
#include "ui/command.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

#include <tuple>

using namespace velmora;
using namespace velmora::app;

namespace {

// Size and first pixel: enough to tell the states of a one-coloured picture apart.
using Shown = std::tuple<int, int, int, int, int>;

Shown shown(ViewerApp& viewer) {
    const uint8_t* p = viewer.current().row(0);
    return {viewer.current().width(), viewer.current().height(), p[0], p[1], p[2]};
}

} // namespace

class UndoCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void stepsBackAndForthFromTheMenuAndTheKeys_data() {
        QTest::addColumn<bool>("handheld");
        QTest::newRow("desktop") << false;
        QTest::newRow("240x320") << true;
    }

    void stepsBackAndForthFromTheMenuAndTheKeys() {
        QFETCH(bool, handheld);
        test::ShellSandbox sandbox;
        const auto picture = sandbox.writePicture("a.png", 30, 20);
        auto viewer = sandbox.startViewer(
            test::ShellSandbox::u16(picture),
            handheld ? std::optional(platform::qt::EmulatedScreen{240, 320, 96}) : std::nullopt);
        QVERIFY(viewer);
        QApplication::setActiveWindow(&viewer->mainWindow());
        QMenu* edit = viewer->menuBar()->findChild<QMenu*>(QStringLiteral("menuEdit"));
        QVERIFY(edit != nullptr);
        const auto item = [edit](ui::Command command) {
            return edit->findChild<QAction*>(
                QStringLiteral("action%1").arg(static_cast<int>(command)));
        };
        // After 復元, in this order.
        const QList<QAction*> items = edit->actions();
        QCOMPARE(items.size(), 5);
        QCOMPARE(items[2], item(ui::Command::Restore));
        QCOMPARE(items[3]->text(), QStringLiteral("元に戻す(&U)"));
        QCOMPARE(items[4]->text(), QStringLiteral("やり直し(&O)"));

        QWidget& window = viewer->mainWindow();
        const Shown loaded = shown(*viewer);
        QTest::keyClick(&window, Qt::Key_R);
        const Shown turned = shown(*viewer);
        item(ui::Command::Negative)->trigger();
        const Shown negated = shown(*viewer);
        QVERIFY(turned != loaded && negated != turned);

        struct Step {
            std::function<void()> press;
            Shown expected;
            bool modified;
        };
        const Step steps[] = {
            {[&] { QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier); }, turned, true},
            {[&] { QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier); }, loaded, false},
            {[&] { QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier); }, loaded, false},
            {[&] { QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier); }, turned, true},
            {[&] { QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); },
             negated, true},
            {[&] { item(ui::Command::Undo)->trigger(); }, turned, true},
            {[&] { item(ui::Command::Undo)->trigger(); }, loaded, false},
            {[&] { item(ui::Command::Redo)->trigger(); }, turned, true},
        };
        for (const Step& step : steps) {
            step.press();
            QCOMPARE(shown(*viewer), step.expected);
            QCOMPARE(viewer->isModified(), step.modified);
        }
        QCOMPARE(viewer->pictureView().state().displayWidth, 20); // actual size after the turn

        // Read again: nothing left to undo.
        viewer->clearModified();
        viewer->onCommand(ui::Command::Restore);
        QCOMPARE(shown(*viewer), loaded);
        item(ui::Command::Undo)->trigger();
        QCOMPARE(shown(*viewer), loaded);
        QVERIFY(!viewer->isModified());
        QVERIFY(sandbox.boxes.shown.empty());
    }
};

QTEST_MAIN(UndoCommandsTest)
#include "undo_commands_qtest.moc"
