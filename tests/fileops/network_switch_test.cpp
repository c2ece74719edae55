#include "fileops/network_switch.h"
#include "platform/network_connections.h"
#include "platform/registry.h"
#include "platform/registry_values.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "ui/string_table.h"

#include <gtest/gtest.h>

#include <optional>

namespace velmora::fileops {
namespace {

using platform::Hive;

std::optional<uint32_t> switchValue() {
    const auto query = platform::registry()
                           .openKey(Hive::LocalMachine, platform::kRedirKey)
                           .queryValue(platform::kRegisterFsRootValue, 4);
    return query.ok ? platform::dwordFromBytes(query.bytes) : std::nullopt;
}

TEST(NetworkSwitch, AsksOnlyWhenOffAndTurnsOnOnlyOnYes) {
    struct Case {
        std::optional<uint32_t> stored;
        int answer;
        bool result;
        std::vector<ui::StringId> boxes;
        std::optional<uint32_t> after;
        bool hiveWritable = true;
    };
    const ui::StringId hidden = ui::str::kNetworkHidden, reset = ui::str::kSoftResetNeeded;
    const ui::StringId failed = ui::str::kOperationFailed;
    const Case cases[] = {
        {1, ui::kButtonNo, true, {}, 1},
        {std::nullopt, ui::kButtonNo, false, {hidden}, std::nullopt},
        {0, ui::kButtonNo, false, {hidden}, 0},
        {std::nullopt, ui::kButtonYes, false, {hidden, reset}, 1},
        {0, ui::kButtonYes, false, {hidden, reset}, 1},
        // A switch that cannot be stored is not followed by the request to reset.
        {std::nullopt, ui::kButtonYes, false, {hidden, failed}, std::nullopt, false},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        platform::setConfigFolder(dir.path());
        if (!c.hiveWritable) {
            std::filesystem::create_directory(dir.path() /
                                              platform::hiveFileName(Hive::LocalMachine));
        }
        if (c.stored) {
            (void)platform::registry()
                .createKey(Hive::LocalMachine, platform::kRedirKey)
                .setDword(platform::kRegisterFsRootValue, *c.stored);
        }
        test::RecordingMessageBox boxes;
        boxes.script({c.answer});
        EXPECT_EQ(checkNetworkFolderSwitch(), c.result);
        std::vector<std::u16string> expected, shown;
        for (const ui::StringId id : c.boxes) {
            expected.push_back(ui::loadResourceString(id));
        }
        for (const auto& box : boxes.shown) {
            shown.push_back(box.text);
        }
        EXPECT_EQ(shown, expected);
        // The hive on disk holds the value as the check left it.
        platform::setConfigFolder(dir.path());
        EXPECT_EQ(switchValue(), c.after);
    }
}

} // namespace
} // namespace velmora::fileops
