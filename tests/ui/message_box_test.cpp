#include "ui/message_box.h"
#include "ui/string_table.h"

#include "support/recording_message_box.h"

#include <gtest/gtest.h>

namespace velmora::ui {
namespace {

class MessageBoxTest : public ::testing::Test {
  protected:
    void TearDown() override { setBeforeMessageHook(nullptr); }
    test::RecordingMessageBox boxes;
};

TEST_F(MessageBoxTest, EachOperationUsesItsCaptionIconButtonsAndTableText) {
    showError(str::kOperationFailed);
    showInfo(str::kSoftResetNeeded);
    askOkCancel(str::kNetworkHidden);
    askYesNo(str::kOverwrite);
    askYesNoCancel(str::kSaveEdited);

    ASSERT_EQ(boxes.shown.size(), 5u);
    const struct {
        const char16_t* caption;
        MessageIcon icon;
        MessageButtons buttons;
        const char16_t* text;
    } expected[] = {
        {u"ERROR", MessageIcon::Error, MessageButtons::Ok, u"処理が失敗しました"},
        {u"Infomation", MessageIcon::Information, MessageButtons::Ok,
         u"ネットワークフォルダを有効化のため一度ソフトリセットしてください"},
        {u"QUESTION", MessageIcon::Question, MessageButtons::OkCancel,
         u"現在'ネットワーク'フォルダは非表示です\n表示しますか？"},
        {u"QUESTION", MessageIcon::Question, MessageButtons::YesNo,
         u"同名ファイルが存在します\n上書きしますか？"},
        {u"QUESTION", MessageIcon::Question, MessageButtons::YesNoCancel,
         u"更新された画像を保存しますか？"},
    };
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(boxes.shown[i].caption, expected[i].caption);
        EXPECT_EQ(boxes.shown[i].icon, expected[i].icon);
        EXPECT_EQ(boxes.shown[i].buttons, expected[i].buttons);
        EXPECT_EQ(boxes.shown[i].text, expected[i].text);
    }
}

TEST_F(MessageBoxTest, ReturnsThePressedButton) {
    boxes.script({kButtonCancel, kButtonNo, kButtonOk, kButtonYes});
    EXPECT_EQ(askOkCancel(str::kBackToFirst), kButtonCancel);
    EXPECT_EQ(askYesNo(str::kGoToLast), kButtonNo);
    EXPECT_EQ(askOkCancel(str::kBackToFirst), kButtonOk);
    EXPECT_EQ(askYesNo(str::kGoToLast), kButtonYes);
}

TEST_F(MessageBoxTest, UnknownIdStillShowsAnEmptyBox) {
    EXPECT_EQ(showError(StringId{12345}), kButtonOk);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.empty());
    EXPECT_EQ(boxes.shown[0].caption, u"ERROR");
}

TEST_F(MessageBoxTest, HookRunsBeforeEachTableBoxButNotBeforeTheComposedBox) {
    std::vector<size_t> boxesShownAtHook;
    setBeforeMessageHook([&] { boxesShownAtHook.push_back(boxes.shown.size()); });

    showError(str::kOperationFailed);
    showInfo(str::kOperationFailed);
    askOkCancel(str::kOperationFailed);
    askYesNo(str::kOperationFailed);
    EXPECT_EQ(boxesShownAtHook, (std::vector<size_t>{0, 1, 2, 3}));

    showMessage(
        {u"読込失敗:\na.jpg", u"Image Load Failed.", MessageIcon::Warning, MessageButtons::Ok});
    EXPECT_EQ(boxesShownAtHook.size(), 4u);
    EXPECT_EQ(boxes.shown.back().icon, MessageIcon::Warning);
}

TEST(MessageBoxWithoutSeam, AnswersWithTheDefaultButtonAndWritesOneLine) {
    ASSERT_EQ(messageBoxSeam(), nullptr);
    EXPECT_EQ(askYesNo(str::kReallyDelete), kButtonYes);
    EXPECT_EQ(askOkCancel(str::kReallyDelete), kButtonOk);
    EXPECT_EQ(askYesNoCancel(str::kSaveEdited), kButtonNo); // nothing waits for a user
    EXPECT_EQ(showError(str::kReallyDelete), kButtonOk);
    testing::internal::CaptureStderr();
    showMessage(
        {u"読込失敗:\na.jpg", u"Image Load Failed.", MessageIcon::Warning, MessageButtons::Ok});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Image Load Failed.: 読込失敗: a.jpg\n");
}

} // namespace
} // namespace velmora::ui
