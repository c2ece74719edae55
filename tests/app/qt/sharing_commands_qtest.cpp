// The mail and network commands reach their controllers from the viewer, and the network
// folder kept in the machine hive is there when the viewer starts.
#include "shell_sandbox.h"

#include "platform/mail/mail_stores.h"
#include "platform/network_connections.h"
#include "ui/command.h"
#include "ui/string_table.h"

#include <QTest>

using namespace velmora;
using namespace velmora::app;

class SharingCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void mailAndNetworkCommandsReachTheirControllers() {
        test::ShellSandbox sandbox;
        platform::setMailFolder(sandbox.root() / ".mail");
        auto viewer = sandbox.startViewer();
        QVERIFY(viewer);
        sandbox.boxes.shown.clear();
        sandbox.boxes.script({ui::kButtonOk, ui::kButtonNo});
        QVERIFY(viewer->onCommand(ui::Command::Mail));
        QVERIFY(viewer->onCommand(ui::Command::NetworkConnect));
        QCOMPARE(sandbox.boxes.shown.size(), size_t{2});
        QVERIFY(sandbox.boxes.shown[0].text == ui::loadResourceString(ui::str::kNoTargetFile));
        QVERIFY(sandbox.boxes.shown[1].text == ui::loadResourceString(ui::str::kNetworkHidden));
        QVERIFY(!viewer->onCommand(ui::Command{99999}));
    }

    void keptConnectionIsBrowsableFromTheStart() {
        for (const bool desktop : {false, true}) {
            test::ShellSandbox sandbox;
            const auto share = sandbox.root() / ".." / "share";
            std::filesystem::create_directories(share / "trip");
            (void)platform::registry()
                .createKey(platform::Hive::LocalMachine, platform::kRedirKey)
                .setDword(platform::kRegisterFsRootValue, 1);
            (void)platform::addNetworkConnection({u"VEL-Network", share});
            platform::setNetworkFolderShown(false);
            platform::setNetworkMappings({});
            platform::setConfigFolder(sandbox.config());

            auto viewer = desktop ? sandbox.startViewer({}, std::nullopt) : sandbox.startViewer();
            QVERIFY(viewer);
            QVERIFY(platform::isDirectory(u"\\Network"));
            QVERIFY(platform::isDirectory(u"\\Network\\VEL-Network\\trip"));
            viewer.reset();
            platform::setNetworkFolderShown(false);
            platform::setNetworkMappings({});
        }
    }
};

QTEST_MAIN(SharingCommandsTest)
#include "sharing_commands_qtest.moc"
