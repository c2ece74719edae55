#include "browse/folder_list.h"
#include "navigator_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

namespace velmora::test {
namespace {

using browse::FolderList;

TEST(FolderListOrder, ComparesCodeUnitsWithoutCaseOrNumberSense) {
    FolderList list{u"\\d\\a.jpg",  u"\\d\\B.jpg",  u"\\d\\2.jpg",
                    u"\\d\\10.jpg", u"\\d\\a.jpgx", u"\\d\\a.jp"};
    browse::sortFolderList(list);
    EXPECT_EQ(list, (FolderList{u"\\d\\10.jpg", u"\\d\\2.jpg", u"\\d\\B.jpg", u"\\d\\a.jp",
                                u"\\d\\a.jpg", u"\\d\\a.jpgx"}));
}

TEST(FolderListOrder, OrdersBySixteenBitUnitsNotCodePoints) {
    // U+1F600 is stored as the surrogates D83D DE00, which sort below U+FF5E; by code point
    // (or as UTF-8 bytes) it would come last. U+00E9 sorts above every ASCII letter.
    const std::u16string emoji = u"\\d\\\U0001F600.png";
    const std::u16string tilde = u"\\d\\\uFF5E.png";
    const std::u16string accented = u"\\d\\\u00E9.png";
    FolderList list{tilde, emoji, accented, u"\\d\\z.png"};
    browse::sortFolderList(list);
    EXPECT_EQ(list, (FolderList{u"\\d\\z.png", accented, emoji, tilde}));
}

class BuildFolderListTest : public NavigatorTest {};

TEST_F(BuildFolderListTest, ListsOnlyVisiblePicturesOfEnabledFormats) {
    picture("pics/a.bmp", 10);
    file("pics/e.JPEG", "not decoded while listing");
    file("pics/photo.jpeg", "");
    file("pics/d.gif", "");
    file("pics/t.tif", "");
    file("pics/t.tiff", "");
    file("pics/p.jfif", "");
    file("pics/q.JPE", "");
    file("pics/c.txt", "");
    file("pics/noext", "");
    picture("pics/.hidden.bmp", 20);
    picture("pics/folder.bmp/inside.bmp", 30); // a folder whose name looks like a picture
    // A named pipe called like a picture: reading it would wait for a writer for ever.
    ASSERT_EQ(mkfifo((dir.path() / "pics/pipe.png").c_str(), 0600), 0);
    settings.extensionEnabled[1] = false; // GIF off

    FolderList list{u"\\kept"};
    browse::buildFolderList(u"\\pics\\", list, settings);
    std::sort(list.begin() + 1, list.end());
    EXPECT_EQ(list, (FolderList{u"\\kept", u"\\pics\\a.bmp", u"\\pics\\e.JPEG", u"\\pics\\p.jfif",
                                u"\\pics\\photo.jpeg", u"\\pics\\q.JPE", u"\\pics\\t.tif",
                                u"\\pics\\t.tiff"}));
}

TEST_F(BuildFolderListTest, UnreadableFolderAddsNothing) {
    FolderList list{u"\\kept"};
    browse::buildFolderList(u"\\missing\\", list, settings);
    EXPECT_EQ(list, FolderList{u"\\kept"});
}

} // namespace
} // namespace velmora::test
