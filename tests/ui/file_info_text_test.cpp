#include "ui/file_info_text.h"

#include <gtest/gtest.h>

namespace velmora::ui {
namespace {

FileInfo thirdOfSeven() {
    FileInfo info;
    info.path = u"\\My Documents\\pics\\c.jpg";
    info.imageWidth = 640;
    info.imageHeight = 480;
    info.currentIndex = 2;
    info.entryCount = 7;
    info.file = FileFacts{153600, {2008, 3, 5, 9, 4, 59}};
    return info;
}

TEST(FileInfoText, DescribesAnOpenPicture) {
    const FileInfoTexts texts = formatFileInfo(thirdOfSeven());
    EXPECT_EQ(texts.fileName, u"c.jpg");
    EXPECT_EQ(texts.dimensions, u"640 X 480");
    EXPECT_EQ(texts.size, u"153600 Byte");
    EXPECT_EQ(texts.modified, u"2008/03/05 09:04");
    EXPECT_EQ(texts.folder, u"\\My Documents\\pics\\");
    EXPECT_EQ(texts.position, u"3 / 7");

    // A Latin-1 byte and a backslash inside names: marked and kept, the name not split.
    FileInfo odd = thirdOfSeven();
    odd.path = u"\\caf\xDCE9\\a\uF05Cb.jpg";
    EXPECT_EQ(formatFileInfo(odd).fileName, u"a\\b.jpg");
    EXPECT_EQ(formatFileInfo(odd).folder, u"\\caf\uFFFD\\");

    // An animation that plays names its frame count beside the size.
    FileInfo animation = thirdOfSeven();
    animation.frameCount = 300;
    EXPECT_EQ(formatFileInfo(animation).dimensions, u"640 X 480 (300 フレーム)");
}

TEST(FileInfoText, NothingOpenShowsDashesEverywhere) {
    FileInfo info = thirdOfSeven();
    info.path.clear();
    const FileInfoTexts texts = formatFileInfo(info);
    for (const auto* text : {&texts.fileName, &texts.dimensions, &texts.size, &texts.modified,
                             &texts.folder, &texts.position}) {
        EXPECT_EQ(*text, u"-");
    }
}

TEST(FileInfoText, MissingFileLeavesSizeAndDateEmpty) {
    FileInfo info = thirdOfSeven();
    info.file.reset();
    const FileInfoTexts texts = formatFileInfo(info);
    EXPECT_TRUE(texts.size.empty());
    EXPECT_TRUE(texts.modified.empty());
    EXPECT_EQ(texts.fileName, u"c.jpg");
    EXPECT_EQ(texts.dimensions, u"640 X 480");
}

TEST(FileInfoText, UnknownDimensionsAndEmptyList) {
    FileInfo info = thirdOfSeven();
    info.imageHeight = 0;
    info.entryCount = 0;
    const FileInfoTexts texts = formatFileInfo(info);
    EXPECT_EQ(texts.dimensions, u"-");
    EXPECT_EQ(texts.position, u"- / -");
}

TEST(FileInfoText, SizesBeyondFourGibibytesAreNotCut) {
    FileInfo info = thirdOfSeven();
    info.file->size = 0x1'0000'0010ull;
    EXPECT_EQ(formatFileInfo(info).size, u"4294967312 Byte");
}

} // namespace
} // namespace velmora::ui
