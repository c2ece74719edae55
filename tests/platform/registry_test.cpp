#include "platform/registry.h"
#include "platform/registry_values.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace velmora::platform {
namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Makes every file write beyond `bytes` fail (as a full disk would) while it lives.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(Registry, QueriesFollowThePlatformRules) {
    test::TempDir dir;
    Registry registry(dir.path());
    RegistryKey key = registry.createKey(Hive::CurrentUser, u"Software\\Test");
    ASSERT_TRUE(key.isOpen());
    ASSERT_TRUE(key.setDword(u"NUMBER", 0x01020304));
    ASSERT_TRUE(key.setString(u"TEXT", u"abc"));

    const ValueQuery fits = key.queryValue(u"NUMBER", 4);
    EXPECT_TRUE(fits.ok);
    EXPECT_EQ(fits.type, kRegDword);
    EXPECT_EQ(fits.bytes, (std::vector<uint8_t>{4, 3, 2, 1}));

    const ValueQuery tooSmall = key.queryValue(u"TEXT", 5);
    EXPECT_FALSE(tooSmall.ok);
    EXPECT_EQ(tooSmall.type, kRegSz) << "the stored type is still reported";
    EXPECT_TRUE(tooSmall.bytes.empty());

    const ValueQuery otherType = key.queryValue(u"text", 256);
    EXPECT_TRUE(otherType.ok) << "names match without regard to case; type is not enforced";
    EXPECT_EQ(otherType.bytes.size(), 6u) << "text is stored without a terminator";

    const ValueQuery missing = key.queryValue(u"NONE", 256);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.type, kRegNone);

    EXPECT_TRUE(key.deleteValue(u"NUMBER"));
    EXPECT_FALSE(key.deleteValue(u"NUMBER"));
    EXPECT_FALSE(key.queryValue(u"NUMBER", 4).ok);
}

TEST(Registry, KeysOpenOnlyWhenTheyExist) {
    test::TempDir dir;
    Registry registry(dir.path());
    EXPECT_FALSE(registry.openKey(Hive::CurrentUser, u"Software\\Quorrin").isOpen());
    registry.createKey(Hive::CurrentUser, u"Software\\Quorrin\\Velmora");
    EXPECT_TRUE(registry.openKey(Hive::CurrentUser, u"software\\QUORRIN").isOpen());
    EXPECT_TRUE(registry.openKey(Hive::CurrentUser, u"Software\\Quorrin\\Velmora\\").isOpen());
    EXPECT_FALSE(registry.openKey(Hive::LocalMachine, u"Software\\Quorrin").isOpen());

    RegistryKey closed;
    EXPECT_FALSE(closed.setDword(u"X", 1));
    EXPECT_FALSE(closed.queryValue(u"X", 4).ok);
}

TEST(Registry, UserHiveIsWrittenOnSaveAndReadBack) {
    test::TempDir dir;
    {
        Registry registry(dir.path());
        EXPECT_TRUE(registry.createKey(Hive::CurrentUser, u"Software\\Quorrin\\Velmora")
                        .setDword(u"XMOVE", 32));
        EXPECT_FALSE(fs::exists(dir.path() / "user.reg")) << "nothing written before save";
        EXPECT_TRUE(registry.save(Hive::CurrentUser));
    }
    EXPECT_NE(fileText(dir.path() / "user.reg").find("\"XMOVE\"=dword:00000020"),
              std::string::npos);
    Registry again(dir.path());
    const auto query =
        again.openKey(Hive::CurrentUser, u"Software\\Quorrin\\Velmora").queryValue(u"XMOVE", 4);
    EXPECT_TRUE(query.ok);
    EXPECT_EQ(dwordFromBytes(query.bytes), 32u);
}

TEST(Registry, FirstRunSeedsTheMachineHiveAndChangesThereAreKept) {
    test::TempDir dir;
    {
        Registry registry(dir.path());
        for (int button = 1; button <= 12; ++button) {
            std::u16string path = u"SOFTWARE\\Microsoft\\Shell\\Keys\\40C";
            path.push_back(u"0123456789ABCDEF"[button]);
            const RegistryKey key = registry.openKey(Hive::LocalMachine, path);
            ASSERT_TRUE(key.isOpen()) << button;
            const std::string expected = "F" + std::to_string(button);
            EXPECT_EQ(textFromBytes(key.queryValue(u"Name", 256).bytes),
                      std::u16string(expected.begin(), expected.end()));
            EXPECT_FALSE(key.queryValue(u"Icon", 256).ok);
        }
        RegistryKey redirector = registry.openKey(Hive::LocalMachine, u"Comm\\Redir");
        ASSERT_TRUE(redirector.isOpen());
        EXPECT_FALSE(redirector.queryValue(u"RegisterFSRoot", 4).ok);
        EXPECT_TRUE(fs::exists(dir.path() / "system.reg"));
        EXPECT_TRUE(redirector.setDword(u"RegisterFSRoot", 1)); // saved without an explicit save
    }
    Registry again(dir.path());
    EXPECT_TRUE(
        again.openKey(Hive::LocalMachine, u"Comm\\Redir").queryValue(u"RegisterFSRoot", 4).ok);

    // An existing machine hive is not seeded again, even when it lacks the keys.
    test::TempDir other;
    other.write("system.reg", "Windows Registry Editor Version 5.00\n");
    Registry existing(other.path());
    EXPECT_FALSE(existing.openKey(Hive::LocalMachine, u"Comm\\Redir").isOpen());
}

TEST(Registry, FailedSaveKeepsTheOldFile) {
    test::TempDir dir;
    Registry registry(dir.path());
    RegistryKey key = registry.createKey(Hive::CurrentUser, u"K");
    EXPECT_TRUE(key.setDword(u"OLD", 1));
    ASSERT_TRUE(registry.save(Hive::CurrentUser));
    const std::string before = fileText(dir.path() / "user.reg");

    (void)key.setValue(u"BIG", kRegBinary, std::vector<uint8_t>(4096, 0x55));
    {
        FileSizeLimit limit(before.size() + 16);
        EXPECT_FALSE(registry.save(Hive::CurrentUser));
    }
    EXPECT_EQ(fileText(dir.path() / "user.reg"), before);
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u) << "user.reg only: the temporary is gone";
    EXPECT_TRUE(registry.save(Hive::CurrentUser)) << "the change is still there to save";

    // A folder that cannot exist: its parent is a regular file.
    const fs::path blocked = dir.write("plain", "x") / "config";
    Registry nowhere(blocked);
    EXPECT_TRUE(nowhere.createKey(Hive::CurrentUser, u"K").setDword(u"X", 1));
    EXPECT_FALSE(nowhere.save(Hive::CurrentUser));
    EXPECT_TRUE(nowhere.openKey(Hive::LocalMachine, u"Comm\\Redir").isOpen())
        << "the seeded machine hive lives in memory";
}

TEST(Registry, DamagedOrUnreadableHivesLoadWhatTheyCan) {
    test::TempDir dir;
    using namespace std::string_literals;
    dir.write("user.reg", "[HKEY_CURRENT_USER\\K]\n\"A\"=dword:00000007\n"
                          "\x01\x02\xff\xfe garbage \0 more\n\"B\"=hex:0"s);
    fs::create_directory(dir.path() / "system.reg");
    Registry registry(dir.path());
    const RegistryKey key = registry.openKey(Hive::CurrentUser, u"K");
    EXPECT_EQ(dwordFromBytes(key.queryValue(u"A", 4).bytes), 7u);
    EXPECT_FALSE(registry.openKey(Hive::LocalMachine, u"Comm\\Redir").isOpen())
        << "a hive that exists but cannot be read is not replaced by the seed";
    EXPECT_FALSE(registry.save(Hive::LocalMachine));
    EXPECT_TRUE(fs::is_directory(dir.path() / "system.reg"));
}

// A named pipe or a device where a hive belongs is never opened for waiting or replaced.
TEST(Registry, HivesThatAreNotFilesLoadNothingAndAreNeverWritten) {
    for (const bool pipe : {true, false}) { // else a link to a device
        SCOPED_TRACE(pipe ? "named pipe" : "device");
        test::TempDir dir;
        for (const Hive hive : {Hive::CurrentUser, Hive::LocalMachine}) {
            const fs::path file = dir.path() / hiveFileName(hive);
            if (pipe) {
                ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
            } else {
                fs::create_symlink("/dev/zero", file);
            }
        }
        Registry registry(dir.path());
        EXPECT_FALSE(registry.openKey(Hive::CurrentUser, u"Software").isOpen());
        EXPECT_TRUE(registry.createKey(Hive::CurrentUser, u"K").setDword(u"X", 1));
        EXPECT_FALSE(registry.save(Hive::CurrentUser));
        for (const Hive hive : {Hive::CurrentUser, Hive::LocalMachine}) {
            EXPECT_EQ(fs::status(dir.path() / hiveFileName(hive)).type(),
                      pipe ? fs::file_type::fifo : fs::file_type::character);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2)
            << "no temporary left behind";
    }
}

} // namespace
} // namespace velmora::platform
