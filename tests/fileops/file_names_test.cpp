// Every name a Linux disk can hold reaches exactly its file through every file command, and no
// typed name writes outside the root.
#include "file_commands_fixture.h"

#include "browse/thumbnail_cache.h"
#include "codecs/load_image.h"
#include "fileops/mail_sender.h"
#include "platform/host_names.h"
#include "platform/mail/mail_stores.h"
#include "platform/mail/mime_message.h"
#include "support/mail_sandbox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sys/stat.h>

namespace velmora::test {
namespace {

namespace fs = std::filesystem;
namespace str = ui::str;
using ui::kButtonCancel;
using ui::kButtonOk;

class FileNamesTest : public FileCommandsTest {
  protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        for (const char* folder : {"pics", "dest", "moved", "out"}) {
            fs::create_directories(dir.path() / folder);
        }
        platform::setConfigFolder(dir.path() / ".config");
        platform::setMailFolder(dir.path() / ".mail");
        MailSandbox::setSendmail("");
    }
    // A 100 x 120 picture of one shade under host name bytes; returns its device path.
    std::u16string hostPicture(const std::string& folder, const std::string& host, uint8_t shade) {
        dir.write(folder + "/" + host, solidBmp(100, 120, shade));
        return u"\\" + util::toUtf16(folder) + u"\\" + platform::deviceNameOf(host);
    }
    size_t filesIn(const std::string& relative) const {
        return static_cast<size_t>(
            std::distance(fs::directory_iterator(dir.path() / relative), fs::directory_iterator()));
    }
    // Mails the file and returns the one message delivered, without its line breaks.
    std::string mailed(std::u16string_view path) const {
        fs::remove_all(dir.path() / ".mail");
        fileops::sendMail({u"a@x.org", u"subject", u"body"}, path);
        const fs::directory_iterator message(dir.path() / ".mail/Local/Outbox/new");
        std::string text = contents(fs::relative(message->path(), dir.path()).string());
        std::erase(text, '\n');
        return text;
    }
};

TEST_F(FileNamesTest, EveryListedNameReachesExactlyItsFile) {
    // Shift-JIS, Latin-1, a backslash, a line break, 255 bytes.
    const std::string names[] = {"\x8E\xCA\x90\x5E.bmp", "caf\xE9.bmp", "back\\slash.bmp",
                                 "two\nlines.bmp", std::string(251, 'n') + ".bmp"};
    std::vector<std::u16string> paths;
    std::map<std::u16string, int> shadeOf;
    for (size_t i = 0; i < std::size(names); ++i) {
        paths.push_back(hostPicture("pics", names[i], static_cast<uint8_t>(40 * (i + 1))));
        shadeOf[paths.back()] = static_cast<int>(40 * (i + 1));
    }
    // Listed and paged through: each entry shows its own file.
    navigator().openInFolder(shadeOf.begin()->first); // the first listed
    ASSERT_EQ(navigator().count(), static_cast<int>(std::size(names)));
    for (int i = 0; i < navigator().count(); ++i) {
        EXPECT_EQ(navigator().currentIndex(), i);
        EXPECT_EQ(shownShade(), shadeOf[navigator().currentPath()]);
        if (i + 1 < navigator().count()) {
            navigator().showNext();
        }
    }

    browse::ThumbnailCacheUse thumbnails(true);
    for (size_t i = 0; i < std::size(names); ++i) {
        SCOPED_TRACE(i);
        const std::string& host = names[i];
        const std::u16string& path = paths[i];
        const int shade = shadeOf[path];

        navigator().openInFolder(path);
        EXPECT_EQ(navigator().currentPath(), path) << "chosen within its folder";
        EXPECT_EQ(shownShade(), shade);

        image::DibImage thumbnail;
        for (int visit = 0; visit < 2; ++visit) { // made, then read from the cache
            ASSERT_TRUE(codecs::loadImageFitted(thumbnail, path, 100, 120));
            EXPECT_NEAR(thumbnail.row(60)[150], shade, 3);
        }
        // A name too long for a cache file name is thumbnailed afresh each time.
        if (host.size() < 240) {
            EXPECT_TRUE(exists("pics/VelThumbs/th_" + host + ".jpg"));
            EXPECT_TRUE(boxes.shown.empty());
        }
        boxes.shown.clear();

        chosenFolder = u"\\dest";
        commands.copy();
        const std::string bytes = contents("pics/" + host);
        EXPECT_EQ(contents("dest/" + host), bytes);

        saveChoice = fileops::SaveChoice{u"\\out", fileops::proposeSaveLocation(path).baseName,
                                         fileops::SaveType::Bmp, 66};
        commands.save();
        EXPECT_TRUE(exists("out/" + host)) << "saved under the same name bytes";

        EXPECT_NE(mailed(path).find(platform::base64Encode(
                      reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())),
                  std::string::npos);

        chosenFolder = u"\\moved";
        commands.move();
        EXPECT_FALSE(exists("pics/" + host));
        EXPECT_EQ(contents("moved/" + host), bytes);

        useList({u"\\moved\\" + platform::deviceNameOf(host)});
        commands.remove(); // answered OK
        EXPECT_FALSE(exists("moved/" + host));
        EXPECT_EQ(filesIn(".data/Trash/files"), i + 1);
        EXPECT_EQ(texts(), std::vector{text(str::kReallyDelete)});
        boxes.shown.clear();
    }
}

// Typed save names and folders stepping out of the root are refused; nothing is written outside.
TEST_F(FileNamesTest, TypedNamesNeverWriteOutsideTheRoot) {
    fs::create_directories(dir.path() / "outside");
    fs::create_directories(dir.path() / "root" / "a");
    fs::create_directories(dir.path() / "share");
    platform::setDeviceRoot(dir.path() / "root");
    platform::setNetworkFolderShown(true);
    platform::setNetworkMappings({{u"VEL-Network", dir.path() / "share"}});
    const std::string outside = (dir.path() / "outside").string();
    struct Case {
        std::u16string folder;
        std::u16string name;
        ui::StringId refusal;
    };
    const Case cases[] = {
        {u"\\a", u"/x", str::kBadFileName},
        {u"\\a", u"..\\..\\outside\\x", str::kBadFileName},
        {u"\\a", u".\\..", str::kBadFileName},
        {u"\\a", std::u16string(u"x\0y", 3), str::kBadFileName},
        {util::toUtf16(outside), u"x", str::kBadSaveLocation},
        {u"\\a\\..\\..\\outside", u"x", str::kBadSaveLocation},
        {u"\\Network\\VEL-Network\\" + util::toUtf16(outside), u"x", str::kBadSaveLocation},
        {u"\\Network\\VEL-Network\\..", u"x", str::kBadSaveLocation},
    };
    useList({u"\\a\\p.bmp"});
    dir.write("root/a/p.bmp", solidBmp(4, 3, 1));
    navigator().showCurrent();
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        fileops::SaveChoice choice{cases[i].folder, cases[i].name, fileops::SaveType::Bmp, 66};
        EXPECT_EQ(fileops::acceptSaveChoice(choice), cases[i].refusal);
        // Past the dialog the writer still cannot reach out.
        saveChoice = fileops::SaveChoice{cases[i].folder, cases[i].name + u".bmp",
                                         fileops::SaveType::Bmp, 66};
        uncheckedSaveChoice = true;
        commands.save();
    }
    EXPECT_TRUE(fs::is_empty(dir.path() / "outside"));
    EXPECT_TRUE(fs::is_empty(dir.path() / "share"));
    EXPECT_EQ(filesIn("root"), 1u);
    EXPECT_EQ(filesIn("root/a"), 1u);
    platform::setNetworkFolderShown(false);
    platform::setNetworkMappings({});
}

// The source reached again by a linked folder or a hard link: copy and move silently do nothing.
TEST_F(FileNamesTest, TheSameFileByAnotherPathIsTheSource) {
    const std::u16string source = hostPicture("pics", "a.bmp", 40);
    fs::create_directory_symlink(dir.path() / "pics", dir.path() / "linked");
    fs::create_hard_link(dir.path() / "pics" / "a.bmp", dir.path() / "dest" / "a.bmp");
    const std::u16string other = hostPicture("pics", "b.bmp", 80);
    for (const auto* folder : {u"\\linked", u"\\dest"}) {
        for (const bool move : {false, true}) {
            SCOPED_TRACE(std::to_string(folder[1]) + (move ? " move" : " copy"));
            useList({source, other});
            navigator().showCurrent();
            chosenFolder = folder;
            if (move) {
                commands.move();
            } else {
                commands.copy();
            }
            EXPECT_TRUE(boxes.shown.empty()) << "no question, no message";
            EXPECT_EQ(navigator().folderList(), (browse::FolderList{source, other}));
            EXPECT_EQ(contents("pics/a.bmp"), solidBmp(100, 120, 40));
            EXPECT_EQ(contents("dest/a.bmp"), solidBmp(100, 120, 40));
        }
    }
}

// Where no trash can take the file, deleting it for good is asked first.
TEST_F(FileNamesTest, NoUsableTrashAsksBeforeDeletingForGood) {
    dir.write("blocked", "a file where the data folder should be");
    ScopedEnvironment noTrash("XDG_DATA_HOME", (dir.path() / "blocked" / "data").string());
    struct Case {
        bool useTrash;
        int trashAnswer; // to the question after "really delete?" (answered OK), if it comes
        bool askedAgain;
        bool deleted;
    };
    const Case cases[] = {
        {true, kButtonOk, true, true},
        {true, kButtonCancel, true, false},
        {false, kButtonCancel, false, true},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const Case& c = cases[i];
        const std::u16string a = hostPicture("pics", "a.bmp", 40);
        const std::u16string b = hostPicture("pics", "b.bmp", 80);
        useList({a, b});
        navigator().showCurrent();
        settings.useTrash = c.useTrash;
        boxes.shown.clear();
        boxes.script({kButtonOk, c.trashAnswer});
        commands.remove();
        const auto asked = c.askedAgain
                               ? std::vector{text(str::kReallyDelete), text(str::kTrashUnavailable)}
                               : std::vector{text(str::kReallyDelete)};
        EXPECT_EQ(texts(), asked);
        EXPECT_EQ(boxes.shown.back().buttons, ui::MessageButtons::OkCancel);
        EXPECT_EQ(exists("pics/a.bmp"), !c.deleted);
        EXPECT_EQ(navigator().folderList(),
                  (c.deleted ? browse::FolderList{b} : browse::FolderList{a, b}));
        EXPECT_EQ(shownShade(), c.deleted ? 80 : 40);
    }
}

} // namespace
} // namespace velmora::test
