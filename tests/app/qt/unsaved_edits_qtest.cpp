// Every command that leaves an edited picture first asks whether to save it: はい saves and goes
// on only when something was written, いいえ goes on and drops the edits, キャンセル stays.
// Nothing is asked when nothing was edited.
#include "shell_sandbox.h"

#include "app/command_ids.h"
#include "app/main_window.h"
#include "settings/app_settings.h"
#include "ui/string_table.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>
#include <vector>

using namespace velmora;
using namespace velmora::app;

namespace {

// Runs an action on each named dialog once it is the active modal widget.
class DialogWatch {
  public:
    DialogWatch() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            for (Pending& pending : pending_) {
                if (!pending.done && dialog != nullptr && dialog->isVisible() &&
                    dialog->objectName() == QLatin1String(pending.name)) {
                    pending.done = true;
                    pending.action(*dialog);
                    return;
                }
            }
        });
        timer_.start(10);
    }
    void on(const char* name, std::function<void(QWidget&)> action) {
        pending_.push_back({name, std::move(action)});
    }

  private:
    struct Pending {
        const char* name;
        std::function<void(QWidget&)> action;
        bool done = false;
    };
    QTimer timer_;
    std::vector<Pending> pending_;
};

enum class Answer { NotEdited, YesSaved, YesSaveCancelled, No, Cancel };

// Clicks the row of the open dialog's list that shows name; false when there is none.
bool clickRow(QWidget& dialog, const QString& name) {
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("fileList"));
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        const QModelIndex index = list->model()->index(row, 0);
        if (index.data().toString() == name) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(index).center());
            return true;
        }
    }
    return false;
}

// Picks \P\c.png in the open dialog.
void openThirdPicture(QWidget& dialog) {
    QVERIFY(clickRow(dialog, QStringLiteral("P")));
    QVERIFY(clickRow(dialog, QStringLiteral("c.png")));
}

} // namespace

class UnsavedEditsTest : public QObject {
    Q_OBJECT

  private slots:
    void leavingAnEditedPictureAsksFirst_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("destination"); // the picture shown after going on; "" closes
        QTest::addColumn<int>("answer");
        const struct {
            const char* name;
            int command;
            const char* destination;
        } commands[] = {
            {"next", kCmdNext, "c.png"},
            {"previous", kCmdPrevious, "a.png"},
            {"first", kCmdFirst, "a.png"},
            {"last", kCmdLast, "c.png"},
            {"seek", kCmdSeekForward, "c.png"},
            {"open", kCmdOpen, "c.png"},
            {"recent", kCmdRecentFile1, "a.png"},
            {"restore", kCmdRestore, "b.png"},
            {"close", kCmdClose, ""},
            {"exit", kCmdExit, ""},
        };
        const std::pair<Answer, const char*> answers[] = {
            {Answer::NotEdited, "not edited"},
            {Answer::YesSaved, "yes, saved"},
            {Answer::YesSaveCancelled, "yes, save dialog cancelled"},
            {Answer::No, "no"},
            {Answer::Cancel, "cancel"}};
        for (const auto& c : commands) {
            for (const auto& [answer, answerName] : answers) {
                QTest::addRow("%s, %s", c.name, answerName)
                    << c.command << QString::fromLatin1(c.destination) << int(answer);
            }
        }
    }
    void leavingAnEditedPictureAsksFirst() {
        QFETCH(int, command);
        QFETCH(QString, destination);
        QFETCH(int, answer);
        test::ShellSandbox sandbox;
        sandbox.writePicture("P/a.png", 30, 20);
        sandbox.writePicture("P/b.png", 40, 30);
        sandbox.writePicture("P/c.png", 50, 40);
        std::filesystem::create_directories(sandbox.root() / "Out");
        settings::lastBrowseDir().clear();
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        QSignalSpy closed(viewer.get(), &ViewerApp::closed);
        viewer->navigator().openInFolder(u"\\P\\a.png");
        viewer->navigator().openInFolder(u"\\P\\b.png"); // recent files: b, a
        const uint8_t stored = viewer->current().row(0)[0];
        const bool edited = Answer(answer) != Answer::NotEdited;
        if (edited) {
            viewer->onCommand(kCmdNegative);
            QVERIFY(viewer->modified);
        }
        sandbox.boxes.shown.clear();

        DialogWatch dialogs;
        if (command == kCmdOpen) {
            dialogs.on("openDialog", openThirdPicture);
        }
        switch (Answer(answer)) {
        case Answer::YesSaved:
            sandbox.boxes.script({ui::kButtonYes});
            dialogs.on("saveDialog", [](QWidget& dialog) {
                dialog.findChild<QLineEdit*>(QStringLiteral("folderEdit"))->setText("\\Out");
                dialog.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            });
            break;
        case Answer::YesSaveCancelled:
            sandbox.boxes.script({ui::kButtonYes});
            dialogs.on("saveDialog", [](QWidget& dialog) {
                dialog.findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
            });
            break;
        case Answer::No:
            sandbox.boxes.script({ui::kButtonNo});
            break;
        case Answer::Cancel:
            sandbox.boxes.script({ui::kButtonCancel});
            break;
        case Answer::NotEdited:
            break;
        }
        QVERIFY(viewer->onCommand(command));
        QTest::qWait(command == kCmdClose ? 50 : 0); // the close is posted

        QCOMPARE(sandbox.boxes.shown.size(), size_t{edited ? 1u : 0u});
        if (edited) {
            QVERIFY(sandbox.boxes.shown[0].text == ui::loadResourceString(ui::str::kSaveEdited));
            QCOMPARE(sandbox.boxes.shown[0].buttons, ui::MessageButtons::YesNoCancel);
        }
        QCOMPARE(std::filesystem::exists(sandbox.root() / "Out" / "b.jpg"),
                 Answer(answer) == Answer::YesSaved);
        const bool goesOn = Answer(answer) == Answer::NotEdited ||
                            Answer(answer) == Answer::YesSaved || Answer(answer) == Answer::No;
        if (destination.isEmpty()) {
            QCOMPARE(closed.count(), goesOn ? 1 : 0);
            QCOMPARE(viewer->mainWindow().isVisible(), !goesOn);
        } else if (goesOn) {
            QCOMPARE(viewer->navigator().currentPath(), u"\\P\\" + destination.toStdU16String());
            const int widths[] = {30, 40, 50}; // a, b, c
            QCOMPARE(viewer->current().width(), widths[destination[0].unicode() - u'a']);
            QCOMPARE(viewer->current().row(0)[0], stored); // read from its file, unedited
            QVERIFY(!viewer->modified);
        }
        if (!goesOn) {
            QCOMPARE(viewer->navigator().currentPath(), std::u16string(u"\\P\\b.png"));
            QVERIFY(viewer->current().row(0)[0] != stored); // the edits are still there
            QVERIFY(viewer->modified);
        }
        if (viewer->mainWindow().isVisible()) {
            sandbox.boxes.script({ui::kButtonNo});
            viewer->onCommand(kCmdExit);
        }
    }
};

QTEST_MAIN(UnsavedEditsTest)
#include "unsaved_edits_qtest.moc"
