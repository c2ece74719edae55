#include "ui/string_table.h"

#include <algorithm>
#include <array>
#include <utility>

namespace velmora::ui {
namespace {

constexpr size_t kBufferChars = 1024;

constexpr std::array<std::pair<StringId, const char16_t*>, 35> kStrings{{
    {str::kTitle, u"Velmora"},
    {str::kWindowClass, u"VELMORA"},
    {str::kMenuFile, u"ファイル"},
    {str::kMenuHelp, u"ヘルプ"},
    {str::kMenuButton, u"メニュー"},
    {str::kImageCreateFailed, u"イメージ作成失敗\n（メモリ不足?）"},
    {str::kNothingSelected, u"何も選択されていません"},
    {str::kMenuCreateFailed, u"メニュー作成失敗"},
    {str::kLoadFailed, u"読込失敗"},
    {str::kBackToFirst, u"最初に戻りますか？"},
    {str::kGoToLast, u"最後に戻りますか？"},
    {str::kImageFaulty, u"画像が不正です"},
    {str::kNotSupported, u"お使いのOSでは、この機能はサポートされていません"},
    {str::kNetworkHidden, u"現在'ネットワーク'フォルダは非表示です\n表示しますか？"},
    {str::kSoftResetNeeded, u"ネットワークフォルダを有効化のため一度ソフトリセットしてください"},
    {str::kNetworkConnectFailed, u"ネットワーク接続の割当に失敗しました"},
    {str::kNetworkDisconnectFailed, u"ネットワーク接続の切断に失敗しました"},
    {str::kOperationFailed, u"処理が失敗しました"},
    {str::kNoTargetFile, u"対象となるファイルがありません"},
    {str::kFolderMissing, u"ディレクトリは存在しません"},
    {str::kOverwrite, u"同名ファイルが存在します\n上書きしますか？"},
    {str::kMenuEdit, u"編集"},
    {str::kWriteFailed, u"ファイルの書込に失敗しました。"},
    {str::kNothingToSave, u"保存する画像が読み込まれていません"},
    {str::kBadSaveLocation, u"保存場所を正しく指定してください"},
    {str::kInvalidNumber, u"無効な数値です"},
    {str::kSaveEdited, u"更新された画像を保存しますか？"},
    {str::kUnknownError, u"不明なエラー"},
    {str::kBadFileName, u"ファイル名が不正です"},
    {str::kReallyDelete, u"本当に削除しますか？"},
    {str::kReadFailed, u"ファイルの読込に失敗しました"},
    {str::kFileMissing, u"ファイルは存在しません"},
    {str::kTrashUnavailable, u"ゴミ箱に移せません。完全に削除しますか？"},
    {str::kMailNotSent, u"メールを送信できませんでした"},
    {str::kNoRecipient, u"宛先アドレスを入力してください"},
}};

} // namespace

std::u16string loadResourceString(StringId stringId) {
    const auto found =
        std::find_if(kStrings.begin(), kStrings.end(),
                     [stringId](const auto& entry) { return entry.first == stringId; });
    if (found == kStrings.end()) {
        return {};
    }
    std::u16string text(found->second);
    if (text.size() >= kBufferChars) {
        text.resize(kBufferChars - 1);
    }
    return text;
}

} // namespace velmora::ui
