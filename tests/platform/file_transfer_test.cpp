#include "platform/file_transfer.h"

#include "support/injected_fault.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace velmora::platform {
namespace {

namespace fs = std::filesystem;
using test::Fault;
using test::InjectedFaults;

// Bytes spanning more than one copy chunk, different at every position that matters.
std::string photoBytes(char seed) {
    std::string bytes(1'100'000, seed);
    for (size_t i = 0; i < bytes.size(); i += 997) {
        bytes[i] = static_cast<char>(i * 31 + static_cast<size_t>(seed));
    }
    return bytes;
}

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> names(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

timespec modified(const fs::path& file) {
    struct stat info {};
    stat(file.c_str(), &info);
    return info.st_mtim;
}

class FileTransferTest : public ::testing::Test {
  protected:
    void SetUp() override {
        source = dir.write("from/photo.jpg", photoBytes('n'));
        target = dir.path() / "to" / "photo.jpg";
        fs::create_directories(target.parent_path());
        const timespec old[2] = {{1204707840, 0}, {1204707840, 123456789}}; // 2008-03-05
        utimensat(AT_FDCWD, source.c_str(), old, 0);
        chmod(source.c_str(), 0640);
    }

    test::TempDir dir;
    fs::path source, target;
};

TEST_F(FileTransferTest, CopyKeepsBytesPermissionsAndModificationTime) {
    ASSERT_TRUE(copyFileChecked(source, target, Overwrite::Never));
    EXPECT_EQ(contents(target), photoBytes('n'));
    EXPECT_EQ(modified(target).tv_sec, 1204707840);
    EXPECT_EQ(modified(target).tv_nsec, 123456789);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(names(target.parent_path()), std::vector<std::string>{"photo.jpg"});
}

TEST_F(FileTransferTest, CopyingANamedPipeFailsWithoutWaitingForAWriter) {
    const fs::path pipe = dir.path() / "from" / "pipe.jpg";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(copyFileChecked(pipe, target, Overwrite::Never));
    EXPECT_TRUE(names(target.parent_path()).empty());
}

TEST_F(FileTransferTest, MoveAcrossFileSystemsCopiesChecksThenRemovesTheSource) {
    InjectedFaults faults({{FileStep::Move, EXDEV}});
    ASSERT_TRUE(moveFileChecked(source, target, Overwrite::Never));
    EXPECT_EQ(faults.seen[FileStep::Remove], 1);
    EXPECT_FALSE(fs::exists(source));
    EXPECT_EQ(contents(target), photoBytes('n'));
    EXPECT_EQ(modified(target).tv_sec, 1204707840);
}

// A failure at any step leaves the source and the old target byte for byte, and no temporary.
TEST_F(FileTransferTest, AFailingStepLosesNothingAndLeavesNoTemporary) {
    struct Case {
        const char* name;
        bool move;
        std::vector<Fault> faults;
    };
    const Fault acrossDevices{FileStep::Move, EXDEV};
    const Case cases[] = {
        {"copy, disk full half-way", false, {{FileStep::Write, ENOSPC, 2}}},
        {"copy, sync fails", false, {{FileStep::Sync, EIO}}},
        {"copy, rename fails", false, {{FileStep::Commit, EIO}}},
        {"move, rename fails", true, {{FileStep::Move, EACCES}}},
        {"move across, disk full", true, {acrossDevices, {FileStep::Write, ENOSPC}}},
        {"move across, sync fails", true, {acrossDevices, {FileStep::Sync, EIO}}},
        {"move across, rename fails", true, {acrossDevices, {FileStep::Commit, EIO}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("to/photo.jpg", "old target");
        InjectedFaults faults(c.faults);
        const auto transfer = c.move ? moveFileChecked : copyFileChecked;
        EXPECT_FALSE(transfer(source, target, Overwrite::Replace));
        EXPECT_EQ(contents(source), photoBytes('n'));
        EXPECT_EQ(contents(target), "old target");
        EXPECT_EQ(names(target.parent_path()), std::vector<std::string>{"photo.jpg"});
        EXPECT_EQ(names(source.parent_path()), std::vector<std::string>{"photo.jpg"});
    }
}

TEST_F(FileTransferTest, ASourceThatCannotBeRemovedTakesTheCopyBack) {
    InjectedFaults faults({{FileStep::Move, EXDEV}, {FileStep::Remove, EROFS}});
    EXPECT_FALSE(moveFileChecked(source, target, Overwrite::Never));
    EXPECT_EQ(contents(source), photoBytes('n'));
    EXPECT_TRUE(names(target.parent_path()).empty());
}

} // namespace
} // namespace velmora::platform
