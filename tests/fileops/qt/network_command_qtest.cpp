// The network commands through the real connection and disconnection dialogs: the switch check,
// mapping a folder, its listing after a restart, failures and silent cancels.
#include "browse/qt/folder_chooser.h"
#include "browse/qt/open_dialog.h"
#include "dialog_fields.h"
#include "fake_sharing_host.h"
#include "fileops/qt/network_controller.h"
#include "platform/device_fs.h"
#include "platform/network_connections.h"
#include "platform/registry.h"
#include "support/modal_dialog.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "ui/command.h"
#include "ui/string_table.h"

#include <QListWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

using namespace velmora;
namespace fs = std::filesystem;

namespace {

class Sandbox {
  public:
    Sandbox() {
        fs::create_directories(root());
        fs::create_directories(share() / "trip");
        dir_.write("share/trip/a.png", "png");
        platform::setDeviceRoot(root());
        restart();
    }
    ~Sandbox() {
        platform::setNetworkFolderShown(false);
        platform::setNetworkMappings({});
    }
    fs::path root() const { return dir_.path() / "root"; }
    fs::path share() const { return dir_.path() / "share"; }
    // The program starting again: hives read from disk, network folder loaded.
    void restart() const {
        platform::setConfigFolder(dir_.path() / "config");
        platform::loadNetworkFolder();
    }
    static void switchOn() {
        (void)platform::registry()
            .createKey(platform::Hive::LocalMachine, platform::kRedirKey)
            .setDword(platform::kRegisterFsRootValue, 1);
    }

  private:
    test::TempDir dir_;
};

std::vector<std::u16string> namesIn(std::u16string_view folder) {
    std::vector<std::u16string> names;
    for (const auto& entry : platform::findFiles(std::u16string(folder) + u"*")
                                 .value_or(std::vector<platform::FindEntry>{})) {
        names.push_back(entry.name);
    }
    return names;
}

std::vector<std::u16string> texts(const test::RecordingMessageBox& boxes) {
    std::vector<std::u16string> shown;
    for (const auto& box : boxes.shown) {
        shown.push_back(box.text);
    }
    return shown;
}

// Runs the connect command and answers its dialog with the folder.
void connectFolder(test::ModalDialogDriver& dialogs, fileops::qt::NetworkController& network,
                   const fs::path& folder) {
    dialogs.onNext([folder](QWidget& dialog) {
        test::setField(dialog, "remoteFolder", QString::fromStdString(folder.string()));
        test::press(dialog, "okButton");
    });
    network.onCommand(ui::Command::NetworkConnect);
}

// The rows of the open dialog's list.
QStringList rowNames(QWidget& dialog) {
    const auto* list = dialog.findChild<QTreeView*>(QStringLiteral("fileList"));
    QStringList names;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        names << list->model()->index(row, 0).data().toString();
    }
    return names;
}

// Taps the open dialog's row of that name (a folder is entered, a picture chosen).
void tapRow(QWidget& dialog, const QString& name) {
    auto* list = dialog.findChild<QTreeView*>(QStringLiteral("fileList"));
    const QRect rect = list->visualRect(list->model()->index(rowNames(dialog).indexOf(name), 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// Expands the chooser's tree along names and returns each level's folder names.
std::vector<QStringList> chooserLevels(QWidget& chooser, const QStringList& names) {
    QTreeWidgetItem* item =
        chooser.findChild<QTreeWidget*>(QStringLiteral("folderTree"))->topLevelItem(0);
    std::vector<QStringList> levels;
    for (const QString& name : names) {
        item->setExpanded(true);
        QStringList level;
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount(); ++i) {
            level << item->child(i)->text(0);
            next = item->child(i)->text(0) == name ? item->child(i) : next;
        }
        levels.push_back(level);
        if (next == nullptr) {
            break;
        }
        item = next;
    }
    item->treeWidget()->setCurrentItem(item);
    return levels;
}

} // namespace

class NetworkCommandTest : public QObject {
    Q_OBJECT

  private slots:
    void switchOffAsksAndNeverOpensTheDialog() {
        for (const int answer : {ui::kButtonNo, ui::kButtonYes}) {
            Sandbox sandbox;
            test::RecordingMessageBox boxes;
            test::ModalDialogDriver dialogs;
            test::FakeSharingHost host;
            fileops::qt::NetworkController network(host);
            boxes.script({answer});
            dialogs.onNext([](QWidget& dialog) { test::press(dialog, "cancelButton"); });
            QVERIFY(network.onCommand(ui::Command::NetworkConnect));
            QCoreApplication::processEvents();
            QVERIFY(dialogs.seen.isEmpty());
            std::vector<std::u16string> expected{ui::loadResourceString(ui::str::kNetworkHidden)};
            if (answer == ui::kButtonYes) {
                expected.push_back(ui::loadResourceString(ui::str::kSoftResetNeeded));
            }
            QVERIFY(texts(boxes) == expected);
            // The folder appears only after a restart, and only after Yes.
            QVERIFY(!platform::exists(u"\\Network"));
            sandbox.restart();
            QCOMPARE(platform::exists(u"\\Network"), answer == ui::kButtonYes);
        }
    }

    void mappedFolderIsBrowsedAfterARestartUntilDisconnected() {
        Sandbox sandbox;
        Sandbox::switchOn();
        sandbox.restart();
        test::RecordingMessageBox boxes;
        test::ModalDialogDriver dialogs;
        test::FakeSharingHost host;
        fileops::qt::NetworkController network(host);
        connectFolder(dialogs, network, sandbox.share());
        QCOMPARE(dialogs.seen, QStringList{QStringLiteral("networkConnectDialog")});
        sandbox.restart();

        // The open dialog and the folder chooser browse into it.
        std::vector<QStringList> rows;
        dialogs.onNext([&](QWidget& dialog) {
            for (const char* name : {"Network", "VEL-Network", "trip"}) {
                rows.push_back(rowNames(dialog));
                tapRow(dialog, QLatin1String(name));
            }
            rows.push_back(rowNames(dialog));
            tapRow(dialog, QStringLiteral("a.png"));
        });
        settings::AppSettings settings;
        browse::qt::OpenDialog open(nullptr, settings);
        const auto choice = open.run();
        QCOMPARE(rows.size(), size_t{4});
        QVERIFY(rows[0].contains(QStringLiteral("Network")));
        QCOMPARE(rows[1], (QStringList{QStringLiteral(".."), QStringLiteral("VEL-Network")}));
        QCOMPARE(rows[3], (QStringList{QStringLiteral(".."), QStringLiteral("a.png")}));
        QVERIFY(choice && choice->list.at(0) == u"\\Network\\VEL-Network\\trip\\a.png");

        std::vector<QStringList> levels;
        dialogs.onNext([&](QWidget& chooser) {
            levels =
                chooserLevels(chooser, {QStringLiteral("Network"), QStringLiteral("VEL-Network"),
                                        QStringLiteral("trip")});
            test::press(chooser, "okButton");
        });
        const auto chosen = browse::qt::chooseFolder(nullptr);
        QCOMPARE(levels.size(), size_t{3});
        QVERIFY(levels[0].contains(QStringLiteral("Network")));
        QCOMPARE(levels[1], QStringList{QStringLiteral("VEL-Network")});
        QCOMPARE(levels[2], QStringList{QStringLiteral("trip")});
        QVERIFY(chosen.accepted && chosen.path == u"\\Network\\VEL-Network\\trip");

        int listed = -1;
        dialogs.onNext([&](QWidget& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("connectionList"));
            listed = list->count();
            list->setCurrentRow(0);
            test::press(dialog, "okButton");
        });
        network.onCommand(ui::Command::NetworkDisconnect);
        QCOMPARE(listed, 1);
        QVERIFY(namesIn(u"\\Network\\").empty());
        sandbox.restart();
        QVERIFY(platform::networkConnections().empty());
        QVERIFY(boxes.shown.empty());
    }

    void failuresShowTheirErrorAndCancelsAreSilent() {
        Sandbox sandbox;
        Sandbox::switchOn();
        test::RecordingMessageBox boxes;
        test::ModalDialogDriver dialogs;
        test::FakeSharingHost host;
        fileops::qt::NetworkController network(host);

        connectFolder(dialogs, network, sandbox.share() / "missing");
        QVERIFY(texts(boxes) == std::vector<std::u16string>{
                                    ui::loadResourceString(ui::str::kNetworkConnectFailed)});
        QVERIFY(platform::networkConnections().empty());

        boxes.shown.clear();
        for (const ui::Command command :
             {ui::Command::NetworkConnect, ui::Command::NetworkDisconnect}) {
            dialogs.onNext([](QWidget& dialog) { test::press(dialog, "cancelButton"); });
            network.onCommand(command);
        }
        QCOMPARE(dialogs.seen.size(), 3);
        QVERIFY(boxes.shown.empty());
        QVERIFY(!network.onCommand(ui::Command::Mail));
    }
};

QTEST_MAIN(NetworkCommandTest)
#include "network_command_qtest.moc"
