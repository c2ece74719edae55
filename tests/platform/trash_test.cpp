#include "platform/trash.h"

#include "support/injected_fault.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The home trash lives in a temporary data folder on the same file system as the pictures.
class TrashTest : public ::testing::Test {
  protected:
    fs::path trash() const { return dir.path() / "data" / "Trash"; }

    // The info file's lines, checked for the header and a DeletionDate within a minute of now.
    static std::string recordedPath(const fs::path& info) {
        const std::string text = contents(info);
        std::smatch parts;
        const std::regex layout("\\[Trash Info\\]\nPath=(.*)\nDeletionDate=(\\d{4})-(\\d\\d)-("
                                "\\d\\d)T(\\d\\d):(\\d\\d):(\\d\\d)\n");
        if (!std::regex_match(text, parts, layout)) {
            ADD_FAILURE() << "not a trash info file: " << text;
            return {};
        }
        std::tm when{};
        when.tm_year = std::stoi(parts[2]) - 1900;
        when.tm_mon = std::stoi(parts[3]) - 1;
        when.tm_mday = std::stoi(parts[4]);
        when.tm_hour = std::stoi(parts[5]);
        when.tm_min = std::stoi(parts[6]);
        when.tm_sec = std::stoi(parts[7]);
        when.tm_isdst = -1;
        EXPECT_LT(std::abs(std::difftime(std::time(nullptr), std::mktime(&when))), 60.0)
            << "DeletionDate is local time now";
        return parts[1];
    }

    test::TempDir dir;
    test::ScopedEnvironment dataHome_{"XDG_DATA_HOME", (dir.path() / "data").string()};
};

TEST_F(TrashTest, DeletedFilesGoToTheHomeTrashWithTheirOrigin) {
    const fs::path first = dir.write("pics/My photo%.jpg", "first");
    const fs::path second = dir.write("other/My photo%.jpg", "second");
    ASSERT_EQ(moveHostFileToTrash(first), TrashResult::Trashed);
    ASSERT_EQ(moveHostFileToTrash(second), TrashResult::Trashed);

    EXPECT_FALSE(fs::exists(first) || fs::exists(second));
    EXPECT_EQ(contents(trash() / "files" / "My photo%.jpg"), "first");
    EXPECT_EQ(contents(trash() / "files" / "My photo%.2.jpg"), "second");
    const std::string escapedFolder = dir.path().string(); // mkdtemp names need no escaping
    EXPECT_EQ(recordedPath(trash() / "info" / "My photo%.jpg.trashinfo"),
              escapedFolder + "/pics/My%20photo%25.jpg");
    EXPECT_EQ(recordedPath(trash() / "info" / "My photo%.2.jpg.trashinfo"),
              escapedFolder + "/other/My%20photo%25.jpg");
    EXPECT_EQ(fs::status(trash()).permissions(), fs::perms::owner_all);
}

// Long names (shortened before the extension, kept whole in the info) and a linked home trash.
TEST_F(TrashTest, LongNamesAndALinkedTrashStillTakeTheFile) {
    const std::string kanji = "\xE5\x86\x99";
    std::string longStem, escapedStem;
    for (int i = 0; i < 83; ++i) {
        longStem += kanji; // 249 bytes
        escapedStem += "%E5%86%99";
    }
    struct Case {
        const char* what;
        std::string name;
        std::string inTrash;
        std::string recorded; // the name as the info file's Path gives it
        bool linkedTrash;
    };
    const Case cases[] = {
        {"255 bytes", std::string(251, 'x') + ".jpg", std::string(241, 'x') + ".jpg",
         std::string(251, 'x') + ".jpg", false},
        {"kanji cut whole", longStem + ".jpg", longStem.substr(0, 240) + ".jpg",
         escapedStem + ".jpg", false},
        {"linked trash", "a.png", "a.png", "a.png", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(trash());
        fs::create_directories(trash().parent_path());
        if (c.linkedTrash) {
            fs::create_directories(dir.path() / "elsewhere");
            fs::create_symlink(dir.path() / "elsewhere", trash());
        }
        const fs::path file = dir.write("pics/" + c.name, c.what);
        ASSERT_EQ(moveHostFileToTrash(file), TrashResult::Trashed);
        EXPECT_FALSE(fs::exists(file));
        EXPECT_EQ(contents(trash() / "files" / c.inTrash), c.what);
        EXPECT_EQ(recordedPath(trash() / "info" / (c.inTrash + ".trashinfo")),
                  (dir.path() / "pics").string() + "/" + c.recorded)
            << "the whole name is recorded";
    }
}

TEST_F(TrashTest, AFailedRenameKeepsTheFileAndTakesTheInfoBack) {
    const fs::path file = dir.write("pics/a.jpg", "kept");
    test::InjectedFaults faults({{FileStep::Move, EACCES}});
    EXPECT_EQ(moveHostFileToTrash(file), TrashResult::Failed);
    EXPECT_EQ(contents(file), "kept");
    EXPECT_TRUE(fs::is_empty(trash() / "info"));
}

TEST_F(TrashTest, NoUsableTrashChangesNothing) {
    const fs::path file = dir.write("pics/a.jpg", "kept");
    dir.write("blocked", "a file where the data folder should be");
    test::ScopedEnvironment blocked("XDG_DATA_HOME", (dir.path() / "blocked" / "data").string());
    EXPECT_EQ(moveHostFileToTrash(file), TrashResult::Unavailable);
    EXPECT_EQ(contents(file), "kept");
}

// Another mount gets its own trash at its top: .Trash-$uid, with paths relative to the top.
TEST_F(TrashTest, OtherFileSystemsUseATrashAtTheirTop) {
    struct stat here {
    }, there{};
    if (stat(dir.path().c_str(), &here) != 0 || stat("/dev/shm", &there) != 0 ||
        here.st_dev == there.st_dev || access("/dev/shm", W_OK) != 0) {
        GTEST_SKIP() << "no second writable file system at /dev/shm";
    }
    const fs::path top = fs::path("/dev/shm");
    const fs::path own = top / (".Trash-" + std::to_string(getuid()));
    if (fs::exists(top / ".Trash")) {
        GTEST_SKIP() << "/dev/shm has an administrator trash";
    }
    const bool madeTrash = !fs::exists(own);
    std::string folder = "/dev/shm/velmora-test-XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    // A name of its own, so runs side by side never meet in the shared trash.
    const std::string name = fs::path(folder).filename().string() + "-b.png";
    std::ofstream(fs::path(folder) / name) << "elsewhere";

    EXPECT_EQ(moveHostFileToTrash(fs::path(folder) / name), TrashResult::Trashed);
    EXPECT_EQ(contents(own / "files" / name), "elsewhere");
    EXPECT_EQ(recordedPath(own / "info" / (name + ".trashinfo")),
              fs::path(folder).filename().string() + "/" + name);
    EXPECT_FALSE(fs::exists(trash())) << "the home trash is not used across file systems";

    fs::remove(own / "files" / name);
    fs::remove(own / "info" / (name + ".trashinfo"));
    fs::remove_all(folder);
    if (madeTrash) {
        std::error_code ignored;
        fs::remove(own / "files", ignored);
        fs::remove(own / "info", ignored);
        fs::remove(own, ignored);
    }
}

} // namespace
} // namespace velmora::platform
