#include "fileops/save_location.h"

#include "platform/device_fs.h"
#include "support/temp_dir.h"
#include "ui/string_table.h"

#include <gtest/gtest.h>

namespace velmora::fileops {
namespace {

TEST(SaveLocationTest, ProposesTheFolderAndNameOfTheViewedFile) {
    const struct {
        std::u16string path, folder, baseName;
    } cases[] = {
        {u"\\Pics\\photo.png", u"\\Pics\\", u"photo"},
        {u"\\Pics\\a.b.jpg", u"\\Pics\\", u"a.b"},
        {u"\\noext", u"\\", u"noext"},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        const SaveProposal proposal = proposeSaveLocation(c.path);
        EXPECT_EQ(proposal.folder, c.folder);
        EXPECT_EQ(proposal.baseName, c.baseName);
    }
}

TEST(SaveLocationTest, TargetsWithAndWithoutTheTrailingSeparatorAgree) {
    EXPECT_EQ(pathInFolder(u"\\Pics", u"a.jpg"), u"\\Pics\\a.jpg");
    EXPECT_EQ(pathInFolder(u"\\Pics\\", u"a.jpg"), u"\\Pics\\a.jpg");
    EXPECT_EQ(pathInFolder(u"\\", u"a.jpg"), u"\\a.jpg");
}

TEST(SaveLocationTest, OkCompletesTheNameOrRefusesWithItsMessage) {
    test::TempDir root;
    platform::setDeviceRoot(root.path());
    root.write("Pics/file.txt", "x");
    const struct {
        SaveChoice choice;
        int refusal;
        std::u16string fileName;
    } cases[] = {
        {{u"\\Pics", u"photo.png", kSaveJpeg, 66}, 0, u"photo.png.jpg"},
        {{u"\\Pics\\", u"a", kSaveBmp, 66}, 0, u"a.bmp"},
        {{u"\\", u"a", kSavePng, 66}, 0, u"a.png"},
        {{u"\\Pics", u"a", kSaveTiff, 66}, 0, u"a.tif"},
        {{u"\\Pics", u"a", -1, 66}, ui::str::kUnknownError, u"a"},
        {{u"\\Pics", u"", -1, 66}, ui::str::kBadFileName, u""},
        {{u"\\Pics", u"", kSaveJpeg, 66}, ui::str::kBadFileName, u""},
        {{u"", u"a", kSaveJpeg, 66}, ui::str::kBadSaveLocation, u"a.jpg"},
        {{u"\\Missing", u"a", kSaveJpeg, 66}, ui::str::kBadSaveLocation, u"a.jpg"},
        {{u"\\Pics\\file.txt", u"a", kSaveJpeg, 66}, ui::str::kBadSaveLocation, u"a.jpg"},
    };
    for (const auto& c : cases) {
        SaveChoice choice = c.choice;
        EXPECT_EQ(acceptSaveChoice(choice), c.refusal);
        EXPECT_EQ(choice.fileName, c.fileName);
    }
    platform::setDeviceRoot("/");
}

} // namespace
} // namespace velmora::fileops
