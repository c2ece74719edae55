#include "browse/folder_tree.h"
#include "device_root_fixture.h"

#include <vector>

namespace velmora::test {
namespace {

using browse::SubfolderScan;

TEST(FolderItemPath, RootAloneKeepsItsBackslashOthersHaveNoTrailingOne) {
    using Texts = std::vector<std::u16string>;
    EXPECT_EQ(browse::folderItemPath(Texts{u"\\"}), u"\\");
    EXPECT_EQ(browse::folderItemPath(Texts{u"\\", u"A"}), u"\\A");
    EXPECT_EQ(browse::folderItemPath(Texts{u"\\", u"A", u"B"}), u"\\A\\B");
    EXPECT_EQ(browse::folderItemPath(Texts{}), u"");
}

class SubfolderScanTest : public DeviceRootTest {};

TEST_F(SubfolderScanTest, ListsFoldersOnlySortedByCodeUnits) {
    for (const char* name : {"b", "B", "a10", "a2", ".hidden"}) {
        folder(std::string("pics/") + name);
    }
    file("pics/file.jpg");
    const SubfolderScan scan = browse::readSubfolders(u"\\pics");
    EXPECT_EQ(scan.outcome, SubfolderScan::Outcome::Listed);
    std::vector<std::u16string> names;
    for (const auto& folder : scan.folders) {
        names.push_back(folder.name);
        EXPECT_FALSE(folder.storageVolume);
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u".hidden", u"B", u"a10", u"a2", u"b"}));
}

TEST_F(SubfolderScanTest, TellsEmptyFromFilesOnlyFromUnreadable) {
    folder("empty");
    file("files/x.jpg");
    folder("top/inner");
    EXPECT_EQ(browse::readSubfolders(u"\\empty").outcome, SubfolderScan::Outcome::Empty);
    const SubfolderScan filesOnly = browse::readSubfolders(u"\\files");
    EXPECT_EQ(filesOnly.outcome, SubfolderScan::Outcome::Listed);
    EXPECT_TRUE(filesOnly.folders.empty());
    EXPECT_EQ(browse::readSubfolders(u"\\missing").outcome, SubfolderScan::Outcome::Unreadable);
    // The root's pattern has no doubled separator.
    const SubfolderScan root = browse::readSubfolders(u"\\");
    ASSERT_EQ(root.folders.size(), 3u);
    EXPECT_EQ(root.folders[2].name, u"top");
}

} // namespace
} // namespace velmora::test
