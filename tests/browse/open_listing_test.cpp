#include "browse/open_listing.h"
#include "device_root_fixture.h"
#include "settings/app_settings.h"

#include <sys/stat.h>

#include <vector>

namespace velmora::test {
namespace {

using browse::EntryIcon;
using browse::FileEntry;

std::vector<std::u16string> namesOf(const std::vector<FileEntry>& entries) {
    std::vector<std::u16string> names;
    for (const FileEntry& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

class OpenListingTest : public DeviceRootTest {
  protected:
    // The example folder: folders B, a, A2, .hidden, Recycled, VelThumbs; files x.jpg, x.txt,
    // Y.PNG, and a FIFO named f.jpg.
    void makeExampleFolder() {
        for (const char* name : {"B", "a", "A2", ".hidden", "Recycled", "VelThumbs"}) {
            folder(std::string("d/") + name);
        }
        file("d/x.jpg", std::string(1'048'576, 'x'));
        file("d/x.txt");
        file("d/Y.PNG");
        ASSERT_EQ(mkfifo((dir.path() / "d/f.jpg").c_str(), 0600), 0);
    }

    settings::AppSettings settings;
};

TEST_F(OpenListingTest, ListsParentThenSortedFoldersThenSortedShownPictures) {
    makeExampleFolder();
    const auto rows = browse::listOpenFolder(u"d\\", settings);
    EXPECT_EQ(namesOf(rows),
              (std::vector<std::u16string>{u"..", u"A2", u"B", u"a", u"Y.PNG", u"x.jpg"}));
    EXPECT_TRUE(rows[0].isFolder);
    EXPECT_EQ(rows[1].icon, EntryIcon::Folder);
    EXPECT_EQ(rows[5].icon, EntryIcon::PictureFile);
    EXPECT_EQ(browse::sizeText(rows[5].size, false), u"1025KB");

    settings.extensionEnabled[4] = false; // PNG off
    EXPECT_EQ(namesOf(browse::listOpenFolder(u"d\\", settings)),
              (std::vector<std::u16string>{u"..", u"A2", u"B", u"a", u"x.jpg"}));
    EXPECT_EQ(
        browse::listedPicturePaths(u"d\\", browse::listOpenFolder(u"d\\", settings), settings),
        browse::FolderList{u"\\d\\x.jpg"});
    EXPECT_FALSE(browse::isListedPicture(u"\\d\\f.jpg", settings));
    EXPECT_FALSE(browse::isListedPicture(u"\\d\\gone.jpg", settings));
}

TEST_F(OpenListingTest, RootHasNoParentRowAndUnreadableFolderOnlyParent) {
    folder("A");
    EXPECT_EQ(namesOf(browse::listOpenFolder(u"", settings)), std::vector<std::u16string>{u"A"});
    EXPECT_EQ(namesOf(browse::listOpenFolder(u"missing\\", settings)),
              std::vector<std::u16string>{u".."});
}

TEST(OpenListingText, SizeShowsKilobytesPlusOne) {
    for (const auto& [size, text] :
         std::vector<std::pair<uint32_t, std::u16string>>{{0, u"1KB"},
                                                          {1023, u"1KB"},
                                                          {1024, u"2KB"},
                                                          {1'048'576, u"1025KB"},
                                                          {0xFFFFFFFF, u"4194304KB"}}) {
        EXPECT_EQ(browse::sizeText(size, false), text) << size;
    }
}

TEST(OpenListingText, GoingUpDropsTheLastFolder) {
    EXPECT_EQ(browse::parentFolder(u"A\\B\\"), u"A\\");
    EXPECT_EQ(browse::parentFolder(u"A\\"), u"");
    EXPECT_EQ(browse::parentFolder(u""), u"");
}

TEST_F(OpenListingTest, StartsInTheRememberedFolderOnlyWhileItExists) {
    folder("A/B");
    EXPECT_EQ(browse::startingFolder(u"A\\B\\"), u"A\\B\\");
    EXPECT_EQ(browse::startingFolder(u""), u"");
    std::filesystem::remove(dir.path() / "A/B");
    EXPECT_EQ(browse::startingFolder(u"A\\B\\"), u"");
}

} // namespace
} // namespace velmora::test
