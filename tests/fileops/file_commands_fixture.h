// File commands over a navigator on a temporary device root, with scripted dialogs, recorded
// message boxes and a home trash inside the temporary folder.
#pragma once

#include "browse/navigator_fixture.h"
#include "fileops/file_commands.h"
#include "support/scoped_environment.h"
#include "ui/string_table.h"

#include <fstream>
#include <iterator>
#include <optional>

namespace velmora::test {

class FileCommandsTest : public NavigatorTest, public fileops::FileOpsHost {
  protected:
    void SetUp() override {
        NavigatorTest::SetUp();
        settings.usePreload = false;
    }

    browse::Navigator& navigator() override { return NavigatorTest::navigator; }
    bool isModified() const override { return host.modified; }
    void clearModified() override { host.modified = false; }
    QWidget* dialogOwner() override { return nullptr; }

    std::string contents(const std::string& relative) const {
        std::ifstream in(dir.path() / relative, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    bool exists(const std::string& relative) const {
        return std::filesystem::exists(dir.path() / relative);
    }
    // The texts of the message boxes shown so far.
    std::vector<std::u16string> texts() const {
        std::vector<std::u16string> shown;
        for (const auto& request : boxes.shown) {
            shown.push_back(request.text);
        }
        return shown;
    }
    static std::u16string text(ui::StringId stringId) { return ui::loadResourceString(stringId); }

    // The folder chooser's answer (nothing: cancelled) and the save dialog's, which goes through
    // the dialog's own OK checks.
    std::optional<std::u16string> chosenFolder;
    std::optional<fileops::SaveChoice> saveChoice;
    std::optional<fileops::SaveProposal> proposal; // what the save dialog was given
    int folderChooserRuns = 0;
    bool uncheckedSaveChoice = false; // hands saveChoice over as it stands

    fileops::FileCommands commands{
        *this, settings,
        [this] {
            ++folderChooserRuns;
            return chosenFolder;
        },
        [this](const fileops::SaveProposal& given) -> std::optional<fileops::SaveChoice> {
            proposal = given;
            if (!saveChoice) {
                return std::nullopt;
            }
            fileops::SaveChoice accepted = *saveChoice;
            if (!uncheckedSaveChoice) {
                EXPECT_EQ(fileops::acceptSaveChoice(accepted), std::nullopt);
            }
            return accepted;
        }};

  private:
    ScopedEnvironment dataHome_{"XDG_DATA_HOME", (dir.path() / ".data").string()};
};

} // namespace velmora::test
