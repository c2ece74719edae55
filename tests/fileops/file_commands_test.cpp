#include "file_commands_fixture.h"

#include "codecs/load_image.h"
#include "platform/trash.h"
#include "support/injected_fault.h"
#include "ui/string_table.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace velmora::test {
namespace {

namespace str = ui::str;
using platform::FileStep;
using ui::kButtonCancel;
using ui::kButtonOk;

class SaveCommandTest : public FileCommandsTest {
  protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        std::filesystem::create_directories(dir.path() / "out");
        useList({picture("pics/photo.png.bmp", 40)});
        navigator().showCurrent();
        host.modified = true;
    }
    void chooseSave(std::u16string folder, std::u16string name, fileops::SaveType type,
                    int quality = 66) {
        saveChoice = fileops::SaveChoice{std::move(folder), std::move(name), type, quality};
    }
};

TEST_F(SaveCommandTest, SavesTheShownPictureUnderTheChosenNameAndType) {
    chooseSave(u"\\out", u"photo.png", fileops::SaveType::Jpeg);
    EXPECT_EQ(commands.save(), u"\\out\\photo.png.jpg");
    ASSERT_TRUE(proposal);
    EXPECT_EQ(proposal->folder, u"\\pics\\");
    EXPECT_EQ(proposal->baseName, u"photo.png");
    image::LoadedImage saved;
    ASSERT_TRUE(codecs::loadImage(saved, u"\\out\\photo.png.jpg")) << "written as JPEG";
    EXPECT_EQ(saved.width(), 4);
    EXPECT_FALSE(host.modified);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(navigator().currentIndex(), 0) << "the list and the view stay";

    // A folder given with its trailing separator, or none at all (the program's folder, which
    // lies outside this root and so is the root), lands where the path arithmetic says.
    chooseSave(u"\\out\\", u"b", fileops::SaveType::Bmp);
    commands.save();
    EXPECT_EQ(contents("out/b.bmp").size(), 54u + 3 * 12) << "a 4 x 3 BMP";
    chooseSave(u"\\", u"c", fileops::SaveType::Png);
    commands.save();
    EXPECT_TRUE(exists("c.png")) << "the root gives \\c.png";
    saveChoice = fileops::SaveChoice{u"", u"d.png", fileops::SaveType::Png, 66};
    uncheckedSaveChoice = true;
    commands.save();
    EXPECT_TRUE(exists("d.png"));
}

TEST_F(SaveCommandTest, RefusalsAndQuestionsLeaveEverythingAsItWas) {
    std::filesystem::create_directories(dir.path() / "out" / "taken.jpg");
    chooseSave(u"\\out", u"taken", fileops::SaveType::Jpeg);
    commands.save();
    EXPECT_EQ(texts(), std::vector{text(str::kOperationFailed)});
    EXPECT_TRUE(host.modified) << "a folder at the target keeps the edits unsaved";

    dir.write("out/old.bmp", "old bytes");
    chooseSave(u"\\out", u"old", fileops::SaveType::Bmp);
    boxes.script({kButtonCancel});
    commands.save();
    EXPECT_EQ(boxes.shown.back().text, text(str::kOverwrite));
    EXPECT_EQ(boxes.shown.back().buttons, ui::MessageButtons::OkCancel);
    EXPECT_EQ(contents("out/old.bmp"), "old bytes");
    EXPECT_TRUE(host.modified);

    boxes.script({kButtonOk});
    commands.save();
    EXPECT_EQ(boxes.shown.size(), 3u) << "asked once";
    EXPECT_EQ(contents("out/old.bmp").substr(0, 2), "BM");
    EXPECT_FALSE(host.modified);

    host.modified = true;
    saveChoice.reset();
    EXPECT_EQ(commands.save(), std::nullopt);
    EXPECT_TRUE(host.modified) << "a cancelled dialog keeps the edits unsaved";
}

TEST_F(SaveCommandTest, NothingToSaveIsRefusedBeforeTheDialog) {
    navigator().clearFolderList();
    navigator().removeEntry(0);
    navigator().showCurrent();
    commands.save();
    EXPECT_EQ(texts(), std::vector{text(str::kNothingToSave)});
    EXPECT_FALSE(proposal);
}

// A save that fails half-way keeps the old file byte for byte and leaves no temporary.
TEST_F(SaveCommandTest, AFailingWriteKeepsTheOldFile) {
    for (const FileStep step : {FileStep::Write, FileStep::Sync, FileStep::Commit}) {
        dir.write("out/old.png", "old bytes");
        chooseSave(u"\\out", u"old", fileops::SaveType::Png);
        boxes.script({kButtonOk});
        InjectedFaults fault({{step, ENOSPC}});
        commands.save();
        EXPECT_EQ(texts().back(), text(str::kWriteFailed));
        EXPECT_EQ(contents("out/old.png"), "old bytes");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "out"), {}), 1);
        EXPECT_TRUE(host.modified) << "nothing was written: the edits stay unsaved";
    }
}

// Every writer's failure, and a type no writer has, shows the one write-failure box.
TEST_F(SaveCommandTest, EachWritersFailureShowsTheWriteFailureOnce) {
    struct Case {
        fileops::SaveType type;
        bool fails;
    };
    const Case cases[] = {
        {fileops::SaveType::Jpeg, false},          {fileops::SaveType::Jpeg, true},
        {fileops::SaveType::Bmp, false},           {fileops::SaveType::Bmp, true},
        {fileops::SaveType::Png, false},           {fileops::SaveType::Png, true},
        {fileops::SaveType::Tiff, false},          {fileops::SaveType::Tiff, true},
        {static_cast<fileops::SaveType>(7), false}};
    uncheckedSaveChoice = true;
    char16_t name = u'a';
    for (const Case& c : cases) {
        boxes.shown.clear();
        chooseSave(u"\\out", std::u16string(1, name++), c.type);
        std::optional<InjectedFaults> fault;
        if (c.fails) {
            fault.emplace(std::vector<Fault>{{FileStep::Commit, ENOSPC}});
        }
        const bool written = commands.save().has_value();
        const bool failed = c.fails || static_cast<int>(c.type) == 7;
        EXPECT_EQ(written, !failed) << static_cast<int>(c.type);
        EXPECT_EQ(texts(),
                  failed ? std::vector{text(str::kWriteFailed)} : std::vector<std::u16string>{})
            << static_cast<int>(c.type) << (c.fails ? " failing" : "");
    }
}

class TransferTest : public FileCommandsTest {
  protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        std::filesystem::create_directories(dir.path() / "dest");
        a = picture("pics/a.bmp", 10);
        b = picture("pics/b.bmp", 20);
        c = picture("pics/c.bmp", 30);
        useList({a, b, c});
        chosenFolder = u"\\dest";
    }
    // Runs copy or move on the current entry.
    void transfer(bool move) {
        if (move) {
            commands.move();
        } else {
            commands.copy();
        }
    }
    std::u16string a, b, c;
};

TEST_F(TransferTest, RefusalsShowTheirMessageAndChangeNothing) {
    for (const bool move : {false, true}) {
        SCOPED_TRACE(move ? "move" : "copy");
        boxes.shown.clear();
        useList({a, b, c}, 1);
        chosenFolder.reset(); // cancelled chooser
        transfer(move);
        chosenFolder = u"\\missing";
        transfer(move);
        chosenFolder = u"";
        transfer(move);
        chosenFolder = u"\\pics"; // the file's own folder: the target is the source
        transfer(move);
        std::filesystem::create_directories(dir.path() / "dest" / "b.bmp");
        chosenFolder = u"\\dest";
        transfer(move);
        std::filesystem::remove(dir.path() / "dest" / "b.bmp");
        EXPECT_EQ(texts(), (std::vector{text(str::kFolderMissing), text(str::kFolderMissing),
                                        text(str::kOperationFailed)}));
        EXPECT_EQ(navigator().count(), 3);
        EXPECT_EQ(navigator().currentIndex(), 1);
        EXPECT_TRUE(exists("pics/b.bmp"));

        navigator().clearFolderList();
        navigator().removeEntry(0);
        const int runs = folderChooserRuns;
        transfer(move);
        EXPECT_EQ(texts().back(), text(str::kNoTargetFile));
        EXPECT_EQ(folderChooserRuns, runs) << "no chooser without a file";
    }
}

TEST_F(TransferTest, CopyKeepsTheListAndAsksBeforeReplacing) {
    useList({a, b, c}, 1);
    const timespec old[2] = {{1204707840, 0}, {1204707840, 0}};
    utimensat(AT_FDCWD, (dir.path() / "pics" / "b.bmp").c_str(), old, 0);
    commands.copy();
    EXPECT_EQ(contents("dest/b.bmp"), contents("pics/b.bmp"));
    EXPECT_EQ(std::filesystem::last_write_time(dir.path() / "dest" / "b.bmp"),
              std::filesystem::last_write_time(dir.path() / "pics" / "b.bmp"));
    EXPECT_TRUE(boxes.shown.empty());

    dir.write("dest/b.bmp", "old target");
    boxes.script({kButtonCancel});
    commands.copy();
    EXPECT_EQ(contents("dest/b.bmp"), "old target");
    {
        InjectedFaults fault({{FileStep::Write, ENOSPC}});
        boxes.script({kButtonOk});
        commands.copy();
    }
    EXPECT_EQ(contents("dest/b.bmp"), "old target") << "a failing replace keeps the old target";
    EXPECT_EQ(texts().back(), text(str::kOperationFailed));
    boxes.script({kButtonOk});
    commands.copy();
    EXPECT_EQ(contents("dest/b.bmp"), contents("pics/b.bmp"));
    EXPECT_EQ(texts(), (std::vector{text(str::kOverwrite), text(str::kOverwrite),
                                    text(str::kOperationFailed), text(str::kOverwrite)}));
    EXPECT_EQ(navigator().count(), 3);
    EXPECT_EQ(navigator().currentIndex(), 1);
}

TEST_F(TransferTest, MoveTakesTheEntryOutAndShowsTheOneThatFollows) {
    useList({a, b, c}, 2);
    commands.move();
    EXPECT_TRUE(exists("dest/c.bmp") && !exists("pics/c.bmp"));
    EXPECT_EQ(navigator().currentPath(), b) << "the new last entry";
    EXPECT_EQ(shownShade(), 20);

    useList({a, b}, 0);
    dir.write("dest/a.bmp", "old target");
    boxes.script({kButtonOk});
    commands.move();
    EXPECT_NE(contents("dest/a.bmp"), "old target") << "replaced by the moved file";
    EXPECT_FALSE(exists("pics/a.bmp"));
    EXPECT_EQ(navigator().currentPath(), b) << "a replacing move also takes the entry out";
    EXPECT_EQ(shownShade(), 20);

    commands.move();
    EXPECT_EQ(navigator().currentIndex(), -1) << "the only entry moved";
    EXPECT_EQ(navigator().count(), 0);
    EXPECT_FALSE(navigator().current().hasPixels());
    EXPECT_EQ(host.clearedCount, 1);
    EXPECT_EQ(texts(), std::vector{text(str::kOverwrite)});
}

TEST_F(TransferTest, AFailingMoveStillTakesTheEntryOutButLosesNothing) {
    dir.write("dest/b.bmp", "old target");
    const auto bBytes = contents("pics/b.bmp");
    useList({a, b, c}, 1);
    {
        InjectedFaults faults({{FileStep::Move, EXDEV}, {FileStep::Commit, EIO}});
        boxes.script({kButtonOk});
        commands.move();
    }
    EXPECT_EQ(texts(), (std::vector{text(str::kOverwrite), text(str::kOperationFailed)}));
    EXPECT_EQ(contents("dest/b.bmp"), "old target");
    EXPECT_EQ(contents("pics/b.bmp"), bBytes);
    EXPECT_EQ(navigator().currentPath(), c);

    {
        InjectedFaults faults({{FileStep::Move, EROFS}});
        commands.move(); // c: nothing at the target, the plain move fails
    }
    EXPECT_EQ(texts().back(), text(str::kOperationFailed));
    EXPECT_TRUE(exists("pics/c.bmp"));
    EXPECT_EQ(navigator().folderList(), (browse::FolderList{a}));
    EXPECT_EQ(shownShade(), 10);
}

TEST_F(TransferTest, DeleteAsksThenSendsTheFileToTheTrash) {
    boxes.script({kButtonCancel});
    commands.remove();
    EXPECT_EQ(texts(), std::vector{text(str::kReallyDelete)});
    EXPECT_EQ(navigator().count(), 3);

    commands.remove();
    EXPECT_FALSE(exists("pics/a.bmp"));
    EXPECT_TRUE(exists(".data/Trash/files/a.bmp"));
    EXPECT_TRUE(exists(".data/Trash/info/a.bmp.trashinfo"));
    EXPECT_EQ(navigator().currentPath(), b) << "the former second is shown";
    EXPECT_EQ(shownShade(), 20);

    settings.useTrash = false;
    commands.remove();
    EXPECT_FALSE(exists("pics/b.bmp") || exists(".data/Trash/files/b.bmp")) << "gone for good";
    EXPECT_EQ(navigator().currentPath(), c);

    {
        InjectedFaults fault({{FileStep::Remove, EROFS}});
        commands.remove();
    }
    EXPECT_EQ(texts().back(), text(str::kOperationFailed));
    EXPECT_TRUE(exists("pics/c.bmp"));
    EXPECT_EQ(navigator().count(), 1) << "a failed deletion keeps the entry";

    navigator().removeEntry(0);
    commands.remove();
    EXPECT_EQ(texts().back(), text(str::kNoTargetFile));
}

// Replacing a file the read-ahead already holds must not show the old picture next.
TEST_F(TransferTest, ReplacingAReadAheadFileDropsIt) {
    settings.usePreload = true;
    useList({a, b}, 0);
    navigator().showCurrent();
    navigator().stopLookAhead(); // b is read ahead
    dir.write("dest/b.bmp", solidBmp(4, 3, 99));
    chosenFolder = u"\\pics";
    useList({u"\\dest\\b.bmp", b}, 0);
    navigator().showCurrent();
    navigator().stopLookAhead();
    boxes.script({kButtonOk});
    commands.copy(); // \dest\b.bmp over \pics\b.bmp, which is read ahead
    navigator().showNext();
    EXPECT_EQ(shownShade(), 99);
}

} // namespace
} // namespace velmora::test
