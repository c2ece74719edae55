#include "settings/app_settings.h"

#include "platform/device_fs.h"
#include "platform/registry.h"
#include "platform/registry_values.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace velmora::settings {
namespace {

namespace fs = std::filesystem;
using platform::Hive;

constexpr std::u16string_view kKey = u"Software\\Quorrin\\Velmora";

// Each test gets its own configuration folder and device root.
class AppSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::setConfigFolder(config_.path());
        platform::setDeviceRoot(root_.path());
        lastBrowseDir().clear();
    }

    void writeUserHive(const std::string& values) const {
        config_.write("user.reg", "Windows Registry Editor Version 5.00\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\Quorrin\\Velmora]\n" +
                                      values);
    }

    std::string userHiveText() const {
        std::ifstream in(config_.path() / "user.reg", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static AppSettings loaded() {
        AppSettings settings(480, 640);
        settings.load();
        return settings;
    }

    test::TempDir config_;
    test::TempDir root_;
};

void expectDefaults(const AppSettings& s) {
    EXPECT_EQ(s.moveStepX, 32);
    EXPECT_EQ(s.moveStepY, 32);
    EXPECT_EQ(s.placement, image::Placement::TopRight);
    EXPECT_EQ(s.seekStepX, 240);
    EXPECT_EQ(s.seekStepY, 320);
    EXPECT_EQ(s.seekOrder, image::SeekOrder::HorizontalFirst);
    EXPECT_EQ(s.initialZoom, image::InitialZoom::Original);
    EXPECT_EQ(s.doubleTapAction, settings::DoubleTapAction::PopupMenu);
    EXPECT_EQ(s.arrowKeyFunctions,
              (std::array{settings::ButtonFunction::MoveLeft, settings::ButtonFunction::MoveRight,
                          settings::ButtonFunction::MoveUp, settings::ButtonFunction::MoveDown}));
    std::array<int32_t, 16> codes{};
    std::ranges::transform(s.buttonFunctions, codes.begin(),
                           [](ButtonFunction f) { return static_cast<int32_t>(f); });
    EXPECT_EQ(codes, (std::array<int32_t, 16>{0, 7, 3, 5, 6, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(s.extensionEnabled,
              (std::array<bool, 10>{true, true, true, true, true, true, true, true, true, true}));
    EXPECT_TRUE(s.smoothReduction && s.usePreload && s.openLastFile && s.thumbCache && s.useTrash &&
                s.dialogMemory && s.keepMetadata && s.losslessTurns && s.reducedFirstView &&
                s.showAlpha && s.animate);
    EXPECT_EQ(s.recentFileCount(), 0);
    EXPECT_TRUE(lastBrowseDir().empty());
}

TEST_F(AppSettingsTest, FirstRunKeepsEveryDefault) {
    expectDefaults(loaded());
}

TEST_F(AppSettingsTest, DamagedOrUnreadableHiveKeepsDefaults) {
    for (const std::string& damage :
         {std::string("\"XMOVE\"=dword:zz\n\"YMOVE\"=\"x\n\"DISPOPT\"=hex:1,\\"),
          std::string("\xff\xfe\x00\x01\x02 binary", 10)}) {
        writeUserHive(damage);
        platform::setConfigFolder(config_.path());
        expectDefaults(loaded());
    }
    fs::remove(config_.path() / "user.reg");
    fs::create_directory(config_.path() / "user.reg");
    platform::setConfigFolder(config_.path());
    expectDefaults(loaded());
}

TEST_F(AppSettingsTest, EverythingSurvivesSaveAndLoad) {
    fs::create_directories(root_.path() / "Pictures" / "Trips");
    AppSettings saved;
    saved.moveStepX = 7;
    saved.moveStepY = 999;
    saved.placement = image::Placement::Centre;
    saved.seekStepX = 100;
    saved.seekStepY = 1;
    saved.seekOrder = image::SeekOrder::VerticalFirst;
    saved.arrowKeyFunctions = {ButtonFunction::None, ButtonFunction::AutoFitOriginal,
                               ButtonFunction::Next, ButtonFunction::Previous};
    for (int button = 1; button <= kStoredButtons; ++button) {
        saved.buttonFunctions[button] = ButtonFunction(12 - button);
    }
    saved.extensionEnabled = {false, true, false, true, false, true, false, true, true, false};
    saved.smoothReduction = false;
    saved.usePreload = false;
    saved.openLastFile = false;
    saved.thumbCache = false;
    saved.initialZoom = image::InitialZoom::AutoFit;
    saved.doubleTapAction = settings::DoubleTapAction::WholeOriginal;
    saved.useTrash = false;
    saved.dialogMemory = false;
    saved.keepMetadata = false;
    saved.losslessTurns = false;
    saved.reducedFirstView = false;
    saved.showAlpha = false;
    saved.animate = false;
    saved.addRecentFile(u"\\Pictures\\写真.jpg");
    saved.addRecentFile(u"\\B \"quoted\".png");
    lastBrowseDir() = u"Pictures\\Trips\\";
    saved.save();

    const std::string text = userHiveText();
    EXPECT_NE(text.find("\"XMOVE\"=dword:00000007"), std::string::npos) << text;
    EXPECT_NE(text.find("\"USETRASH\"=dword:00000000"), std::string::npos) << text;
    EXPECT_NE(text.find("\"DIALOGMEMORY\"=dword:00000000"), std::string::npos) << text;
    EXPECT_NE(text.find("\"LOSSLESSTURN\"=dword:00000000"), std::string::npos) << text;
    EXPECT_NE(text.find("\"LASTCURDIR\"=\"Pictures\\\\Trips\\\\\""), std::string::npos) << text;

    lastBrowseDir().clear();
    platform::setConfigFolder(config_.path()); // read back from the file, not from memory
    const AppSettings read = loaded();
    EXPECT_EQ(read.moveStepX, saved.moveStepX);
    EXPECT_EQ(read.moveStepY, saved.moveStepY);
    EXPECT_EQ(read.placement, saved.placement);
    EXPECT_EQ(read.seekStepX, saved.seekStepX);
    EXPECT_EQ(read.seekStepY, saved.seekStepY);
    EXPECT_EQ(read.seekOrder, saved.seekOrder);
    EXPECT_EQ(read.arrowKeyFunctions, saved.arrowKeyFunctions);
    EXPECT_EQ(read.buttonFunctions, saved.buttonFunctions);
    EXPECT_EQ(read.extensionEnabled, saved.extensionEnabled);
    EXPECT_EQ(read.smoothReduction, saved.smoothReduction);
    EXPECT_EQ(read.usePreload, saved.usePreload);
    EXPECT_EQ(read.openLastFile, saved.openLastFile);
    EXPECT_EQ(read.thumbCache, saved.thumbCache);
    EXPECT_EQ(read.initialZoom, saved.initialZoom);
    EXPECT_EQ(read.doubleTapAction, saved.doubleTapAction);
    EXPECT_EQ(read.useTrash, saved.useTrash);
    EXPECT_EQ(read.dialogMemory, saved.dialogMemory);
    EXPECT_EQ(read.keepMetadata, saved.keepMetadata);
    EXPECT_EQ(read.losslessTurns, saved.losslessTurns);
    EXPECT_EQ(read.reducedFirstView, saved.reducedFirstView);
    EXPECT_EQ(read.showAlpha, saved.showAlpha);
    EXPECT_EQ(read.animate, saved.animate);
    EXPECT_EQ(read.recentFiles, saved.recentFiles);
    EXPECT_EQ(lastBrowseDir(), u"Pictures\\Trips\\");
}

TEST_F(AppSettingsTest, NumbersAreClampedAndOnlyFourByteValuesCount) {
    writeUserHive("\"XMOVE\"=dword:00000000\n"
                  "\"YMOVE\"=dword:00001388\n"
                  "\"DISPOPT\"=dword:00000007\n"
                  "\"KEYFUNC2\"=dword:fffffffd\n"
                  "\"BTNFUNC12\"=dword:80000000\n"
                  "\"XSEEK\"=hex:05,00\n"              // too short
                  "\"YSEEK\"=hex:05,00,00,00,00\n"     // too long
                  "\"VORIGIN\"=hex(1):01,00,00,00\n"   // text type: not checked
                  "\"SEEKDIREC\"=hex(b):01,00,00,00\n" // other type, right size
                  "\"EXTGIF\"=dword:00000005\n"
                  "\"VIEWHQ\"=dword:00000000\n"
                  "\"THUMBCACHE\"=hex:00,00\n");
    const AppSettings s = loaded();
    EXPECT_EQ(s.moveStepX, 1);
    EXPECT_EQ(s.moveStepY, 999);
    EXPECT_EQ(s.initialZoom, image::InitialZoom::AutoFit);
    EXPECT_EQ(s.arrowKeyFunctions[2], settings::ButtonFunction::None);
    EXPECT_EQ(s.buttonFunctions[12], settings::ButtonFunction::None);
    EXPECT_EQ(s.seekStepX, 240);
    EXPECT_EQ(s.seekStepY, 320);
    EXPECT_EQ(s.placement, image::Placement::Centre);
    EXPECT_EQ(s.seekOrder, image::SeekOrder::VerticalFirst);
    EXPECT_TRUE(s.extensionEnabled[1]);
    EXPECT_FALSE(s.smoothReduction);
    EXPECT_TRUE(s.thumbCache);
}

TEST_F(AppSettingsTest, TextValuesFollowTheSizeRule) {
    const std::string chars128(128, 'a');
    const std::string chars200(200, 'b');
    writeUserHive("\"LASTFILE1\"=\"" + chars200 + "\"\n" + // 400 bytes: not read
                  "\"LASTFILE2\"=\"\\\\A.jpg\"\n" + "\"LASTFILE3\"=\"" + chars128 +
                  "\"\n" +                                      // 256 bytes: read
                  "\"LASTCURDIR\"=hex(1):47,00,00,00,58,00\n"); // ends at the NUL
    fs::create_directory(root_.path() / "G");
    const AppSettings s = loaded();
    ASSERT_EQ(s.recentFileCount(), 2);
    EXPECT_EQ(s.recentFileAt(0), u"\\A.jpg");
    EXPECT_EQ(s.recentFileAt(1), std::u16string(128, u'a'));
    EXPECT_EQ(lastBrowseDir(), u"G");

    // Two entries saved over three stored: the third stays in the hive, and as it now repeats
    // the second it is listed once next time.
    s.save();
    platform::setConfigFolder(config_.path());
    const AppSettings next = loaded();
    EXPECT_EQ(next.recentFiles, s.recentFiles);
    const auto key = platform::registry().openKey(Hive::CurrentUser, kKey);
    EXPECT_EQ(key.queryValue(u"LASTFILE3", 256).bytes.size(), 256u);

    const auto stored = key.queryValue(u"LASTFILE1", 256);
    EXPECT_EQ(stored.type, platform::kRegSz);
    EXPECT_EQ(stored.bytes.size(), 12u) << "written without a terminator";
}

TEST_F(AppSettingsTest, RepeatedRecentFilesInTheHiveAreListedOnce) {
    // A hive holding one path in all three slots (written by an older version) still loads.
    writeUserHive("\"LASTFILE1\"=\"\\\\x.png\"\n\"LASTFILE2\"=\"\\\\x.png\"\n"
                  "\"LASTFILE3\"=\"\\\\x.png\"\n");
    AppSettings repeated = loaded();
    EXPECT_EQ(repeated.recentFiles, std::vector<std::u16string>{u"\\x.png"});
    repeated.addRecentFile(u"\\y.png");
    EXPECT_EQ(repeated.recentFiles, (std::vector<std::u16string>{u"\\y.png", u"\\x.png"}));
}

TEST_F(AppSettingsTest, StoredFolderIsKeptOnlyWhileItExists) {
    fs::create_directories(root_.path() / "Old");
    writeUserHive("\"LASTCURDIR\"=\"Old\\\\\"\n");
    loaded();
    EXPECT_EQ(lastBrowseDir(), u"Old\\");

    fs::remove(root_.path() / "Old");
    lastBrowseDir().clear();
    platform::setConfigFolder(config_.path());
    loaded();
    EXPECT_TRUE(lastBrowseDir().empty()) << "the open dialog starts at the root";

    // Saving with no folder leaves the stored one alone.
    loaded().save();
    EXPECT_NE(userHiveText().find("\"LASTCURDIR\"=\"Old\\\\\""), std::string::npos);
}

TEST_F(AppSettingsTest, SaveIntoAnImpossibleFolderIsSilent) {
    const fs::path blocked = config_.write("plain", "x") / "config";
    platform::setConfigFolder(blocked);
    AppSettings settings;
    settings.moveStepX = 5;
    settings.save();
    EXPECT_FALSE(fs::exists(blocked));
}

TEST(RecentFiles, NewestFirstAtMostThreeEachOnce) {
    AppSettings s;
    EXPECT_EQ(s.recentFileAt(0), u"none");
    for (const char16_t* path : {u"\\a.jpg", u"\\a.jpg", u"\\b.jpg", u"\\c.jpg", u"\\d.jpg"}) {
        s.addRecentFile(path);
    }
    EXPECT_EQ(s.recentFiles, (std::vector<std::u16string>{u"\\d.jpg", u"\\c.jpg", u"\\b.jpg"}));
    s.addRecentFile(u"\\b.jpg"); // already listed: moves to the front
    EXPECT_EQ(s.recentFiles, (std::vector<std::u16string>{u"\\b.jpg", u"\\d.jpg", u"\\c.jpg"}));
    EXPECT_EQ(s.recentFileAt(3), u"none");
    EXPECT_EQ(s.recentFileAt(-1), u"none");
}

TEST(FormatFlags, FormatsOneToTenFollowTheirFlags) {
    AppSettings s;
    s.extensionEnabled = {true, false, true, false, true, false, true, false, true, false};
    EXPECT_FALSE(s.formatEnabled(0));
    EXPECT_TRUE(s.formatEnabled(1));
    EXPECT_FALSE(s.formatEnabled(2));
    EXPECT_TRUE(s.formatEnabled(5));
    EXPECT_FALSE(s.formatEnabled(6));
    EXPECT_TRUE(s.formatEnabled(7));
    EXPECT_FALSE(s.formatEnabled(10));
    EXPECT_FALSE(s.formatEnabled(11));
}

} // namespace
} // namespace velmora::settings
