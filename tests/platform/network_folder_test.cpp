#include "platform/device_fs.h"
#include "platform/network_connections.h"
#include "platform/registry.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora::platform {
namespace {

namespace fs = std::filesystem;

class NetworkFolderTest : public ::testing::Test {
  protected:
    NetworkFolderTest() {
        fs::create_directories(root() / "Pictures");
        fs::create_directories(share() / "trip");
        dir_.write("share/trip/a.png", "png");
        setDeviceRoot(root());
        setConfigFolder(config());
    }
    ~NetworkFolderTest() override {
        setNetworkFolderShown(false);
        setNetworkMappings({});
    }

    fs::path root() const { return dir_.path() / "root"; }
    fs::path share() const { return dir_.path() / "share"; }
    fs::path config() const { return dir_.path() / "config"; }

    // Starts as the program does: the hives read afresh, then the network folder loaded.
    void restart() {
        setConfigFolder(config());
        loadNetworkFolder();
    }

    static void switchOn() {
        (void)registry().createKey(Hive::LocalMachine, kRedirKey).setDword(kRegisterFsRootValue, 1);
    }

    static std::vector<std::u16string> namesIn(std::u16string_view folder) {
        std::vector<std::u16string> names;
        for (const auto& entry :
             findFiles(std::u16string(folder) + u"*").value_or(std::vector<FindEntry>{})) {
            names.push_back(entry.name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    test::TempDir dir_;
};

TEST_F(NetworkFolderTest, ConnectedFolderIsBrowsableUnderNetworkAfterARestart) {
    switchOn();
    ASSERT_TRUE(addNetworkConnection({u"VEL-Network", share()}));
    restart();

    EXPECT_EQ(namesIn(u"\\"), (std::vector<std::u16string>{u"Network", u"Pictures"}));
    EXPECT_EQ(fileAttributes(u"\\Network"), kAttrDirectory);
    EXPECT_EQ(namesIn(u"\\Network\\"), std::vector<std::u16string>{u"VEL-Network"});
    EXPECT_TRUE(isDirectory(u"\\Network\\VEL-Network"));
    EXPECT_EQ(namesIn(u"\\Network\\VEL-Network\\trip\\"), std::vector<std::u16string>{u"a.png"});
    EXPECT_EQ(
        readWholeFile(u"\\Network\\VEL-Network\\trip\\a.png").value_or(std::vector<uint8_t>{}),
        (std::vector<uint8_t>{'p', 'n', 'g'}));
    // Neither an unknown connection nor ".." leads anywhere.
    EXPECT_FALSE(exists(u"\\Network\\Other\\trip"));
    EXPECT_TRUE(toHostPath(u"\\Network\\VEL-Network\\..\\..\\etc").empty());
    // The host's root is untouched.
    EXPECT_FALSE(fs::exists(root() / "Network"));

    ASSERT_TRUE(removeNetworkConnection(u"VEL-Network"));
    EXPECT_TRUE(namesIn(u"\\Network\\").empty());
    EXPECT_FALSE(exists(u"\\Network\\VEL-Network\\trip\\a.png"));
    restart();
    EXPECT_TRUE(networkConnections().empty());
    EXPECT_FALSE(removeNetworkConnection(u"VEL-Network"));
}

TEST_F(NetworkFolderTest, SwitchOffHidesTheFolderEvenWithConnections) {
    ASSERT_TRUE(addNetworkConnection({u"VEL-Network", share()}));
    restart();
    EXPECT_EQ(namesIn(u"\\"), std::vector<std::u16string>{u"Pictures"});
    EXPECT_FALSE(exists(u"\\Network"));
    EXPECT_FALSE(exists(u"\\Network\\VEL-Network\\trip\\a.png"));

    // Switching on counts from the next start only.
    switchOn();
    EXPECT_FALSE(exists(u"\\Network"));
    restart();
    EXPECT_TRUE(exists(u"\\Network\\VEL-Network\\trip\\a.png"));
}

} // namespace
} // namespace velmora::platform
