#include "navigator_fixture.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using ui::kButtonNo;
using ui::kButtonYes;

class NavigationTest : public NavigatorTest {
  protected:
    void SetUp() override {
        NavigatorTest::SetUp();
        settings.usePreload = false; // every picture decoded on the spot, on this thread
        a = picture("pics/a.bmp", 10);
        b = picture("pics/b.bmp", 20);
        c = picture("pics/c.bmp", 30);
    }
    std::u16string a, b, c;
};

TEST_F(NavigationTest, NextAndPreviousWalkTheListAndAskAtTheEnds) {
    useList({a, b, c});
    navigator.showCurrent();
    navigator.showNext();
    navigator.showNext();
    EXPECT_EQ(navigator.currentPath(), c);
    EXPECT_EQ(shownShade(), 30);
    EXPECT_TRUE(boxes.shown.empty());

    boxes.script({kButtonNo});
    navigator.showNext();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, u"最初に戻りますか？");
    EXPECT_EQ(boxes.shown[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(navigator.currentIndex(), 2);
    EXPECT_EQ(loads.calls().size(), 3u) << "declining must not reload";

    boxes.script({kButtonYes});
    navigator.showNext();
    EXPECT_EQ(navigator.currentPath(), a);
    EXPECT_EQ(shownShade(), 10);

    boxes.script({kButtonYes});
    navigator.showPrevious();
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[2].text, u"最後に戻りますか？");
    EXPECT_EQ(navigator.currentPath(), c);
    navigator.showPrevious();
    EXPECT_EQ(navigator.currentPath(), b);
    EXPECT_EQ(boxes.shown.size(), 3u);
}

TEST_F(NavigationTest, FirstAndLastJumpWithoutQuestions) {
    useList({a, b, c}, 1);
    navigator.showLast();
    EXPECT_EQ(navigator.currentPath(), c);
    navigator.showLast();
    navigator.showFirst();
    EXPECT_EQ(navigator.currentPath(), a);
    navigator.showFirst();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(loads.calls().size(), 2u) << "first on the first and last on the last do nothing";
}

TEST_F(NavigationTest, EmptyListDoesNothingAndShowsBlack) {
    useList({a});
    navigator.showCurrent();
    ASSERT_TRUE(navigator.current().hasPixels());
    navigator.clearFolderList();
    navigator.showNext();
    navigator.showPrevious();
    navigator.showFirst();
    navigator.showLast();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(loads.calls().size(), 1u);
    EXPECT_EQ(navigator.currentPath(), u"");

    navigator.showCurrent();
    EXPECT_FALSE(navigator.current().hasPixels());
    EXPECT_EQ(host.clearedCount, 1);
}

TEST_F(NavigationTest, OneEntryListAsksAndReloadsFromDisk) {
    navigator.openAtStartup(a, true);
    ASSERT_EQ(navigator.count(), 1);
    EXPECT_EQ(shownShade(), 10);
    picture("pics/a.bmp", 99); // changed on disk since it was shown
    host.modified = true;

    boxes.script({kButtonYes});
    navigator.showNext();
    EXPECT_EQ(boxes.shown.at(0).text, u"最初に戻りますか？");
    EXPECT_EQ(loads.countFor(a), 2);
    EXPECT_EQ(shownShade(), 99);
    EXPECT_FALSE(host.modified);
    EXPECT_EQ(settings.recentFiles, std::vector<std::u16string>{a}); // shown twice, listed once
}

TEST_F(NavigationTest, FullScreenIsReenteredUnlessAQuestionLeftIt) {
    useList({a, b});
    navigator.showCurrent();
    host.fullScreen = true;
    navigator.showNext();
    EXPECT_TRUE(host.fullScreen);
    EXPECT_EQ(host.fullScreenEntries, 1);

    boxes.script({kButtonNo});
    navigator.showNext(); // the question leaves full-screen mode
    EXPECT_FALSE(host.fullScreen);
    EXPECT_EQ(host.fullScreenEntries, 1);

    host.fullScreen = true;
    navigator.showFirst();
    EXPECT_EQ(host.fullScreenEntries, 1) << "first does not re-enter full-screen mode";
}

// The entry stays on the failed file and the view is emptied: the box, the screen and the
// picture in memory all speak of the same file.
TEST_F(NavigationTest, FailedLoadIsReportedByNameKeepsTheIndexAndEmptiesTheView) {
    const std::u16string gone = u"\\pics\\deleted since listed.bmp";
    useList({a, gone, c});
    navigator.showCurrent();
    host.fullScreen = true;
    const int shownBefore = host.shownCount;

    navigator.showNext();
    ASSERT_EQ(boxes.shown.size(), 1u);
    const ui::MessageRequest& box = boxes.shown[0];
    EXPECT_EQ(box.text, u"読込失敗:\ndeleted since listed.bmp");
    EXPECT_EQ(box.caption, u"Image Load Failed.");
    EXPECT_EQ(box.icon, ui::MessageIcon::Warning);
    EXPECT_EQ(box.buttons, ui::MessageButtons::Ok);
    EXPECT_EQ(navigator.currentPath(), gone);
    EXPECT_EQ(host.shownCount, shownBefore);
    EXPECT_EQ(host.clearedCount, 1);
    EXPECT_FALSE(navigator.current().hasPixels()) << "nothing of the old picture is kept";
    EXPECT_TRUE(host.fullScreen) << "the load-failure box keeps full-screen mode";
    EXPECT_FALSE(host.busy);
    EXPECT_EQ(settings.recentFiles, std::vector<std::u16string>{a});

    navigator.showNext();
    EXPECT_EQ(navigator.currentPath(), c);
    EXPECT_EQ(shownShade(), 30);
}

TEST_F(NavigationTest, BrokenFileShowsTheReaderMessageThenTheLoadFailure) {
    const std::u16string bad = file("pics/broken.bmp", "BM not really a bitmap");
    useList({bad});
    navigator.showCurrent();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, u"画像が不正です");
    EXPECT_EQ(boxes.shown[1].text, u"読込失敗:\nbroken.bmp");
}

TEST_F(NavigationTest, RemovingEntriesClampsTheIndex) {
    useList({a, b, c}, 2);
    navigator.removeEntry(2);
    EXPECT_EQ(navigator.currentPath(), b);
    navigator.removeEntry(0);
    EXPECT_EQ(navigator.currentPath(), b);
    navigator.removeEntry(0);
    EXPECT_EQ(navigator.currentIndex(), -1);
    EXPECT_EQ(navigator.currentPath(), u"");
    navigator.showCurrent();
    EXPECT_EQ(host.clearedCount, 1);
}

class OpenInFolderTest : public NavigatorTest {
  protected:
    void SetUp() override {
        NavigatorTest::SetUp();
        settings.usePreload = false;
        png = file("pics/b.PNG", "");
        jpg = file("pics/A.jpg", "");
        bmp = picture("pics/a.bmp", 40);
        gif = file("pics/z.gif", "");
        file("pics/c.txt", "");
    }
    std::u16string png, jpg, bmp, gif;
};

TEST_F(OpenInFolderTest, ListsTheSortedFolderAndShowsTheFile) {
    navigator.openInFolder(bmp);
    EXPECT_EQ(navigator.folderList(), (browse::FolderList{jpg, bmp, png, gif}));
    EXPECT_EQ(navigator.currentIndex(), 1);
    EXPECT_EQ(shownShade(), 40);
    ASSERT_EQ(loads.calls().size(), 1u);
    EXPECT_EQ(loads.calls()[0].path, bmp);
}

TEST_F(OpenInFolderTest, SwitchedOffFileKeepsTheShownPictureAndItsList) {
    useList({bmp});
    navigator.showCurrent();
    settings.extensionEnabled[1] = false; // GIF
    settings.recentFiles = {gif};
    navigator.openRecentFile(0);
    EXPECT_EQ(navigator.folderList(), (browse::FolderList{bmp}));
    EXPECT_EQ(navigator.currentPath(), bmp) << "the index still names the shown picture";
    EXPECT_EQ(loads.calls().size(), 1u);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(OpenInFolderTest, RecentFileThatIsGoneOrAbsentIsNotOpened) {
    settings.recentFiles = {u"\\pics\\gone.bmp"};
    navigator.openRecentFile(0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, u"ファイルは存在しません");
    EXPECT_EQ(boxes.shown[0].caption, u"ERROR");

    navigator.openRecentFile(1); // slot shows "none"
    navigator.openRecentFile(3);
    navigator.openRecentFile(-1);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(navigator.count(), 0);
}

TEST_F(OpenInFolderTest, StartupFallsBackToTheNewestRecentFile) {
    const std::u16string text = file("pics/readme.txt", "");
    settings.recentFiles = {bmp};
    navigator.openAtStartup(text, true);
    EXPECT_EQ(navigator.currentPath(), bmp);
    EXPECT_EQ(navigator.count(), 4) << "a recent file opens within its folder";

    settings.openLastFile = false;
    navigator.clearFolderList();
    navigator.openAtStartup(u"\\pics\\missing.bmp", true);
    EXPECT_EQ(navigator.count(), 0);
}

} // namespace
} // namespace velmora::test
