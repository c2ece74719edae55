// Leaving an edited picture asks first: はい saves and goes on only when something was written,
// いいえ goes on and drops the edits, キャンセル stays; nothing is asked when nothing was edited.
#include "shell_sandbox.h"

#include "app/main_window.h"
#include "ui/command.h"
#include "ui/string_table.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace velmora;
using namespace velmora::app;

namespace {

struct Command {
    const char* name;
    ui::Command id;
    const char* destination; // the picture shown after going on; nullptr: the window closes
};
const Command kCommands[] = {
    {"next", ui::Command::Next, "c.png"},          {"previous", ui::Command::Previous, "a.png"},
    {"first", ui::Command::First, "a.png"},        {"last", ui::Command::Last, "c.png"},
    {"seek", ui::Command::SeekForward, "c.png"},   {"open", ui::Command::Open, "c.png"},
    {"recent", ui::Command::RecentFile1, "a.png"}, {"restore", ui::Command::Restore, "b.png"},
    {"close", ui::Command::Close, nullptr},        {"exit", ui::Command::Exit, nullptr}};

struct Answer {
    const char* name;
    int button;             // 0: the picture is not edited, nothing is asked
    const char* saveButton; // pressed in the save dialog after はい
    bool goesOn;
};
const Answer kAnswers[] = {{"not edited", 0, nullptr, true},
                           {"yes, saved", ui::kButtonYes, "okButton", true},
                           {"yes, save cancelled", ui::kButtonYes, "cancelButton", false},
                           {"no", ui::kButtonNo, nullptr, true},
                           {"cancel", ui::kButtonCancel, nullptr, false}};

// Clicks the row of the open dialog's list that shows name.
void clickRow(QWidget& dialog, const QString& name) {
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("fileList"));
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                       name, 1, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(found[0]).center());
}

} // namespace

class UnsavedEditsTest : public QObject {
    Q_OBJECT

  private slots:
    void leavingAnEditedPictureAsksFirst_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("answer");
        for (int c = 0; c < 10; ++c) {
            for (int a = 0; a < 5; ++a) {
                QTest::addRow("%s, %s", kCommands[c].name, kAnswers[a].name) << c << a;
            }
        }
    }
    void leavingAnEditedPictureAsksFirst() {
        QFETCH(int, command);
        QFETCH(int, answer);
        const Command& leave = kCommands[command];
        const Answer& given = kAnswers[answer];
        test::ShellSandbox sandbox;
        for (const char* name : {"P/a.png", "P/b.png", "P/c.png"}) {
            sandbox.writePicture(name, 30 + 10 * (name[2] - 'a'), 20);
        }
        std::filesystem::create_directories(sandbox.root() / "Out");
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        QSignalSpy closed(viewer.get(), &ViewerApp::closed);
        viewer->navigator().openInFolder(u"\\P\\a.png");
        viewer->navigator().openInFolder(u"\\P\\b.png"); // recent files: b, a
        const uint8_t stored = viewer->current().row(0)[0];
        if (given.button != 0) {
            viewer->onCommand(ui::Command::Negative);
            sandbox.boxes.script({given.button});
        }
        sandbox.boxes.shown.clear();

        // The open dialog (beside the shown picture) picks c.png; the save dialog saves into \Out.
        QTimer dialogs;
        QStringList handled; // each dialog shows at most once
        QObject::connect(&dialogs, &QTimer::timeout, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr || !dialog->isVisible() ||
                handled.contains(dialog->objectName())) {
                return;
            }
            handled.append(dialog->objectName());
            if (dialog->objectName() == "openDialog") {
                clickRow(*dialog, QStringLiteral("c.png"));
            } else if (dialog->objectName() == "saveDialog") {
                dialog->findChild<QLineEdit*>(QStringLiteral("folderEdit"))->setText("\\Out");
                dialog->findChild<QPushButton*>(QLatin1String(given.saveButton))->click();
            }
        });
        dialogs.start(10);
        QVERIFY(viewer->onCommand(leave.id));
        QTest::qWait(leave.id == ui::Command::Close ? 50 : 0); // the close is posted
        dialogs.stop();

        QCOMPARE(sandbox.boxes.shown.size(), size_t{given.button != 0 ? 1u : 0u});
        if (given.button != 0) {
            QVERIFY(sandbox.boxes.shown[0].text == ui::loadResourceString(ui::str::kSaveEdited));
            QCOMPARE(sandbox.boxes.shown[0].buttons, ui::MessageButtons::YesNoCancel);
        }
        QCOMPARE(std::filesystem::exists(sandbox.root() / "Out" / "b.jpg"),
                 given.goesOn && given.saveButton != nullptr);
        if (leave.destination == nullptr) {
            QCOMPARE(closed.count(), given.goesOn ? 1 : 0);
        }
        const QString shown = given.goesOn ? leave.destination : "b.png";
        if (!shown.isEmpty()) {
            QCOMPARE(viewer->navigator().currentPath(), u"\\P\\" + shown.toStdU16String());
            QCOMPARE(viewer->current().width(), 30 + 10 * (shown[0].unicode() - 'a'));
            QCOMPARE(viewer->current().row(0)[0] == stored, given.goesOn); // edits kept or gone
            QCOMPARE(viewer->isModified(), !given.goesOn);
        }
        if (viewer->mainWindow().isVisible()) {
            sandbox.boxes.script({ui::kButtonNo});
            viewer->onCommand(ui::Command::Exit);
        }
    }
};

QTEST_MAIN(UnsavedEditsTest)
#include "unsaved_edits_qtest.moc"
